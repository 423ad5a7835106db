// Field encodings shared by the Bio header, event and data blocks.
#pragma once

#include <cstdint>

namespace ktx::acq {

// Two decimal digits, tens in the high nibble. Nibbles above 9 are taken at face
// value rather than refused: a date is informational and never fails a read.
inline uint8_t FromBcd(uint8_t value) {
  return static_cast<uint8_t>((value >> 4) * 10 + (value & 0x0F));
}

// Two-digit years below 80 are in this century.
inline uint16_t FourDigitYear(uint8_t year) {
  return static_cast<uint16_t>(year < 80 ? 2000 + year : 1900 + year);
}

// A 1-based lead number byte as a LeadIndex: 0 means unspecified (12).
inline uint8_t LeadIndexFromNumber(uint8_t number) {
  return static_cast<uint8_t>(number == 0 ? 12 : number - 1);
}

}  // namespace ktx::acq
