// CBioReader on arbitrary bytes, read from memory by the file road.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "acquisition/bio_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CBioReader reader;
  int16_t count = 0;
  if (!reader.ReadEventsMemory(data, size, &count)) return 0;
  // Touch every filled sample so that the sanitizer sees any overrun.
  long sum = 0;
  for (int16_t e = 0; e < count; ++e) {
    SECGInfo info{};
    const SLeadObj* leads = reader.GetEvent(&info, e);
    if (leads == nullptr) std::abort();
    for (unsigned l = 0; l < leads->FilledLeads; ++l) {
      for (unsigned i = 0; i < info.SampleCount; ++i) sum += leads->Leads[l].Samples[i];
    }
  }
  if (sum > 32767L * 32767 * 12 * 255 || sum < -32768L * 32768 * 12 * 255) std::abort();
  return 0;
}
