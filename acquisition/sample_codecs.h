// Sample encodings of the raw 12-lead records, which the Bio data blocks share.
#pragma once

#include <cstdint>

#include "record/codes.h"

namespace ktx::acq {

// Largest signal value: the values above it mark lead errors in the rhythm data.
constexpr int16_t kMaxSignal = kMarkerErrorBit0 - 1;

// Two 12-bit samples in three bytes, each stored with an offset of 2048.
inline void DecodePair(const uint8_t* bytes, int16_t* first, int16_t* second) {
  const int a = bytes[0] * 16 + (bytes[1] >> 4) - 2048;
  const int b = (bytes[1] & 0x0F) * 256 + bytes[2] - 2048;
  *first = static_cast<int16_t>(a > kMaxSignal ? kMaxSignal : a);
  *second = static_cast<int16_t>(b > kMaxSignal ? kMaxSignal : b);
}

// A one-lead record of two bytes: a sample, or a lead error marker by the status bits.
inline int16_t DecodeOneLead(uint8_t b0, uint8_t b1) {
  static constexpr int16_t kMarkers[] = {0, kMarkerErrorBit1, kMarkerErrorBit0, kMarkerErrorBit2};
  const unsigned status = b1 & 0x03;
  if (status != 0) return kMarkers[status];
  return static_cast<int16_t>((b0 & 0xFC) * 8 + ((b1 >> 2) & 0x1F));
}

// Synchronisation pattern of a one-lead record: b0 bit 7 set, b1 bit 7 clear.
inline bool OneLeadInSync(uint8_t b0, uint8_t b1) {
  return (b0 & 0x80) != 0 && (b1 & 0x80) == 0;
}

// The last byte of a multi-lead record is the sum of the others, modulo 256.
inline bool ChecksumMatches(const uint8_t* record, uint32_t size) {
  uint8_t sum = 0;
  for (uint32_t i = 0; i + 1 < size; ++i) sum = static_cast<uint8_t>(sum + record[i]);
  return sum == record[size - 1];
}

}  // namespace ktx::acq
