#include "acquisition_window.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "acquisition/lead_data.h"

namespace scpecg {

SampleRange WindowSamples(const SampleWindow& window, double rate, uint64_t total) {
  // Whole samples, counted from the first; a start past the end leaves nothing.
  const double start = std::floor(window.Start * rate);
  if (!(start >= 0) || start >= static_cast<double>(total)) return {};
  SampleRange range{static_cast<uint64_t>(start), total - static_cast<uint64_t>(start)};
  const double length = std::floor(window.Seconds * rate);
  if (window.Seconds > 0 && length < static_cast<double>(range.Count)) {
    range.Count = static_cast<uint64_t>(length);
  }
  return range;
}

std::string TooLongMessage(const std::string& what, uint64_t count, double rate) {
  char text[320];
  const auto samples = static_cast<double>(count);
  const auto most = static_cast<double>(kMaxStoredSamples);
  if (rate > 0) {
    std::snprintf(text, sizeof(text),
                  "%s holds %llu samples per lead (%.1f s at %g Hz); a record holds at most "
                  "%llu (%.1f s)",
                  what.c_str(), static_cast<unsigned long long>(count), samples / rate, rate,
                  static_cast<unsigned long long>(kMaxStoredSamples), most / rate);
  } else {
    std::snprintf(text, sizeof(text), "%s holds %llu samples per lead; a record holds at most %llu",
                  what.c_str(), static_cast<unsigned long long>(count),
                  static_cast<unsigned long long>(kMaxStoredSamples));
  }
  return text;
}

bool WindowLeads(const SLeadObj& leads, const SampleRange& range, SLeadObj* window) {
  if (!window->InitLeads(leads.LeadCount, static_cast<uint32_t>(range.Count))) return false;
  for (unsigned i = 0; i < leads.LeadCount; ++i) {
    const SLeadData& from = leads.Leads[i];
    SLeadData& to = window->Leads[i];
    to.LeadIndex = from.LeadIndex;
    to.LeadId = from.LeadId;
    if (from.Samples != nullptr && range.Count != 0) {
      std::memcpy(to.Samples, from.Samples + range.First, sizeof(int16_t) * range.Count);
    }
  }
  window->FilledLeads = leads.FilledLeads;
  return true;
}

}  // namespace scpecg
