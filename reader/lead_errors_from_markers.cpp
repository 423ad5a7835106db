// The lead error table rebuilt from the marker values in the rhythm data.
#include "platform/errors.h"
#include "reader/reader.h"

namespace {

constexpr int16_t kFirstMarker = 2032;  // marks error bit 0; 2033 bit 1, 2034 bit 2
constexpr int16_t kLastMarker = 2034;

}  // namespace

bool CReader::GenerateLeadErrors() {
  LeadErrors.KillData();
  if ((Loaded & (kSection3 | kSection6)) != (kSection3 | kSection6)) {
    return plat::FailWith(plat::kErrNoData);
  }
  if (!LeadErrors.Allocate(Rhythm.LeadCount)) return false;
  for (uint8_t i = 0; i < Rhythm.LeadCount; ++i) {
    SLeadError& entry = LeadErrors.Errors[i];
    // Rhythm lead i is lead definition i; a table edited out of step gets code 0.
    entry.LeadId = LeadDefinitions.Leads != nullptr && i < LeadDefinitions.Count
                       ? LeadDefinitions.Leads[i].LeadId
                       : 0;
    entry.ErrorBits = 0;
    const int16_t* samples = Rhythm.LeadSamples != nullptr ? Rhythm.LeadSamples[i] : nullptr;
    const uint16_t count = samples != nullptr ? Rhythm.SampleCounts[i] : 0;
    for (uint16_t s = 0; s < count; ++s) {
      if (samples[s] >= kFirstMarker && samples[s] <= kLastMarker) {
        entry.ErrorBits =
            static_cast<uint16_t>(entry.ErrorBits | (1u << (samples[s] - kFirstMarker)));
      }
    }
  }
  return true;
}
