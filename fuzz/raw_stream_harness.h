// The harness shared by the 8-bit and 16-bit stream readers: the first byte picks signed
// or unsigned, the rest is the stream, read with the default resolution and rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "acquisition/event.h"

template <typename MemReader, size_t kBytesPerSample>
int FuzzRawStream(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  MemReader reader;
  SECGInfo info{};
  const SLeadObj* leads = reader.ReadEvent(data + 1, static_cast<uint32_t>(size - 1), &info,
                                           (data[0] & 1) != 0, 0.0, 0.0);
  if (leads == nullptr) return 0;
  long sum = 0;
  for (unsigned i = 0; i < info.SampleCount; ++i) sum += leads->Leads[0].Samples[i];
  if (info.SampleCount != (size - 1) / kBytesPerSample && info.SampleCount != 32767) std::abort();
  if (sum > 32767L * 32767 * 12 * 255 || sum < -32768L * 32768 * 12 * 255) std::abort();
  return 0;
}
