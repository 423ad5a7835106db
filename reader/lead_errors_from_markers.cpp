// The lead error table rebuilt from the marker values in the rhythm data.
#include "platform/errors.h"
#include "reader/reader.h"
#include "record/codes.h"

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
      if (IsLeadErrorMarker(samples[s])) {
        entry.ErrorBits =
            static_cast<uint16_t>(entry.ErrorBits | (1u << (samples[s] - kMarkerErrorBit0)));
      }
    }
  }
  return true;
}
