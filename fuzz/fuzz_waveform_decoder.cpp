// Any bytes as an SCP-ECG record for the waveform decoder: it decodes or refuses, and
// what it decodes must fit a reader's tables.
#include <cstdint>
#include <cstdlib>

#include "reader/decoded_waveforms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SDecodedWaveforms decoded;
  if (!DecodeWaveformBuffer(data, size, &decoded)) {
    if (!decoded.Rhythm.Leads.empty() || !decoded.LeadDefs.empty()) std::abort();
    return 0;
  }
  for (size_t i = 0; i < decoded.Rhythm.Leads.size(); ++i) {
    const SLeadDef& def = decoded.LeadDefs[i];
    const size_t n = decoded.Rhythm.Leads[i].size();
    if (n != 0 && def.EndSample - def.StartSample + 1 != n) std::abort();
  }
  (void)DescribeEncoding(decoded);
  CReader reader;
  InstallDecodedWaveforms(decoded, &reader);
  return 0;
}
