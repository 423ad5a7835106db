// C12LMemReader on arbitrary bytes: the first byte picks the lead configuration.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "acquisition/raw12_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static constexpr int16_t kConfigs[] = {1, 2, 6, 8, 12, 3};
  const int16_t config = kConfigs[data[0] % 6];
  C12LMemReader reader;
  SECGInfo info{};
  const SLeadObj* leads =
      reader.ReadEvent(data + 1, static_cast<uint32_t>(size - 1), &info, config, 500.0, 5000.0);
  if (leads == nullptr) return 0;
  // Every stored sample must be readable, and paired samples never reach the markers.
  for (unsigned l = 0; l < leads->LeadCount; ++l) {
    for (unsigned i = 0; i < info.SampleCount; ++i) {
      const int16_t value = leads->Leads[l].Samples[i];
      if (config != 1 && (value > 2031 || value < -2048)) std::abort();
    }
  }
  return 0;
}
