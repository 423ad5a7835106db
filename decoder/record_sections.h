// Finds the sections of a record held in memory: its own small Section 0 walk, so
// that the decoder needs nothing of the reader's file handling.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/little_endian.h"

struct SSectionBody {
  const uint8_t* Bytes = nullptr;  // after the 16-byte section header
  size_t Size = 0;                 // bounded by the section's own length field
};

class CRecordSections {
 public:
  // False with 13 when the record header or Section 0 does not fit the buffer.
  bool Open(const uint8_t* record, size_t size);
  // False when absent (error 0) or when the section does not lie inside the record (13).
  bool Find(uint16_t id, SSectionBody* body) const;

 private:
  const uint8_t* record_ = nullptr;
  size_t size_ = 0;  // the record length, at most the buffer size
  size_t entries_ = 0;
};
