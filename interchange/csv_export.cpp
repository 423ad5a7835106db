#include "interchange/csv_export.h"

#include <cstdio>
#include <string>

#include "record/lead_labels.h"

namespace {

// Microvolts with at most three decimals and no trailing zeros.
std::string Microvolts(int16_t sample, uint16_t avm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", sample * static_cast<double>(avm) / 1000.0);
  std::string value = text;
  value.erase(value.find_last_not_of('0') + 1);
  if (value.back() == '.') value.pop_back();
  return value == "-0" ? "0" : value;
}

}  // namespace

void WriteCsv(std::ostream& out, const SEncodedData& data, const SLeadDefinitions& leads,
              bool raw) {
  unsigned rows = 0;
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    if (i > 0) out << ',';
    out << (i < leads.Count ? LeadLabel(leads.Leads[i].LeadId) : "lead " + std::to_string(i + 1));
    if (data.LeadSamples[i] != nullptr && data.SampleCounts[i] > rows) rows = data.SampleCounts[i];
  }
  out << '\n';
  for (unsigned row = 0; row < rows; ++row) {
    for (unsigned i = 0; i < data.LeadCount; ++i) {
      if (i > 0) out << ',';
      const int16_t* samples = data.LeadSamples[i];
      if (samples == nullptr || row >= data.SampleCounts[i]) continue;  // shorter lead
      if (raw) {
        out << samples[row];
      } else {
        out << Microvolts(samples[row], data.AVM);
      }
    }
    out << '\n';
  }
}
