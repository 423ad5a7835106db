// Reads a byte stream as bits, most significant bit of each byte first, never past
// the bytes it was given. The next bits wait in a 64-bit word, refilled eight bytes
// at a time while eight remain and byte by byte at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "Refill swaps little-endian words");

class CBitReader {
 public:
  CBitReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) { Refill(); }

  size_t Remaining() const { return cached_ + (size_ - next_) * 8; }
  // The next `count` bits (1 to 32), first bit most significant, without moving;
  // bits past the end read as 0.
  uint32_t Peek(unsigned count) const { return static_cast<uint32_t>(cache_ >> (64 - count)); }
  // Moves past `count` bits (at most 32, at most Remaining).
  void Skip(unsigned count) {
    cache_ <<= count;
    cached_ -= count;
    if (cached_ < 32) Refill();
  }
  // `count` bits (at most 32, at most Remaining) as an unsigned number.
  uint32_t Bits(unsigned count) {
    if (count == 0) return 0;
    const uint32_t value = Peek(count);
    Skip(count);
    return value;
  }
  // The next bit, or false when none is left (check Remaining first).
  bool Bit() { return Remaining() != 0 && Bits(1) != 0; }

 private:
  // Tops the word up to at least 56 counted bits, or to the end of the bytes. Below
  // the counted bits the word may hold the following stream bits (a whole-word load
  // brings them), never bits from past the end.
  void Refill() {
    if (next_ + 8 <= size_) {
      uint64_t word;
      std::memcpy(&word, bytes_ + next_, 8);
      cache_ |= __builtin_bswap64(word) >> cached_;  // the stream's first byte highest
      next_ += (63 - cached_) / 8;
      cached_ |= 56;
      return;
    }
    while (cached_ <= 56 && next_ < size_) {
      cache_ |= static_cast<uint64_t>(bytes_[next_++]) << (56 - cached_);
      cached_ += 8;
    }
  }

  const uint8_t* bytes_;
  size_t size_;
  size_t next_ = 0;      // the first byte not yet counted in the word
  uint64_t cache_ = 0;   // the next bits, first one highest
  unsigned cached_ = 0;  // how many of them are counted
};
