// Reading a section body within the bound of the section's own length field.
#pragma once

#include <cstdint>

#include "platform/file.h"

// Tracks the body bytes consumed. Before each read the consumed count plus the size
// of the read is compared with the length field of the section's own header, as
// SCP-ECG readers do: the field counts the 16 header bytes too, and it is this field,
// not the pointer entry, that bounds the parse.
class SectionBody {
 public:
  SectionBody(plat::FileHandle file, const uint8_t* sectionHeader);

  uint32_t Length() const { return length_; }
  uint32_t Consumed() const { return consumed_; }

  // True when `count` more bytes stay within the length; else false with 13.
  bool Fits(uint64_t count) const;
  // Fits, then reads exactly `count` bytes and counts them consumed.
  bool Read(void* buffer, uint32_t count);
  // Moves past `count` bytes; they count as consumed only when `counted`.
  bool Skip(uint32_t count, bool counted = true);
  // Counts bytes consumed without reading them (a tag whose rest is skipped).
  void Consume(uint32_t count) { consumed_ += count; }

 private:
  plat::FileHandle file_;
  uint32_t length_;
  uint32_t consumed_ = 0;
};
