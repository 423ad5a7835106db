#include "engine/record_signal.h"
#include "record/codes.h"

namespace ktx::engine {

bool SignalFromRecord(CReader& r, Signal* out) {
  const SEncodedData& rhythm = r.Rhythm;
  const SLeadDefinitions& defs = r.LeadDefinitions;
  if (!r.HasRhythm || rhythm.LeadSamples == nullptr || rhythm.SampleCounts == nullptr ||
      defs.Leads == nullptr || rhythm.SampleInterval == 0 || rhythm.AVM == 0)
    return false;
  out->Rate = 1e6 / rhythm.SampleInterval;
  const double microvolts = rhythm.AVM / 1000.0;
  size_t length = 0;
  for (unsigned l = 0; l < rhythm.LeadCount && l < defs.Count; ++l) {
    if (rhythm.LeadSamples[l] == nullptr) return false;
    if (length == 0) length = rhythm.SampleCounts[l];
    if (rhythm.SampleCounts[l] != length) return false;
  }
  for (unsigned l = 0; l < rhythm.LeadCount && l < defs.Count; ++l) {
    std::vector<double> lead(length);
    std::vector<uint8_t> gap(length, 0);
    double held = 0;
    for (size_t i = 0; i < length; ++i) {
      const int16_t v = rhythm.LeadSamples[l][i];
      if (IsLeadErrorMarker(v)) {
        gap[i] = 1;
      } else {
        held = v * microvolts;
      }
      lead[i] = held;
    }
    out->LeadCodes.push_back(defs.Leads[l].LeadId);
    out->Leads.push_back(std::move(lead));
    out->Gaps.push_back(std::move(gap));
  }
  return !out->Leads.empty() && length > 0;
}

}  // namespace ktx::engine
