// Reads a byte stream as bits, most significant bit of each byte first, never past
// the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>

class CBitReader {
 public:
  CBitReader(const uint8_t* bytes, size_t size) : bytes_(bytes), bits_(size * 8) {}

  size_t Remaining() const { return bits_ - position_; }
  // The next bit, or false when none is left (check Remaining first).
  bool Bit() {
    if (position_ >= bits_) return false;
    const bool bit = (bytes_[position_ / 8] >> (7 - position_ % 8)) & 1;
    ++position_;
    return bit;
  }
  // `count` bits (at most 32) as an unsigned number, first bit most significant.
  uint32_t Bits(unsigned count) {
    uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) value = (value << 1) | (Bit() ? 1u : 0u);
    return value;
  }

 private:
  const uint8_t* bytes_;
  size_t bits_;
  size_t position_ = 0;
};
