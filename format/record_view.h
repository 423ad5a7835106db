// One record held in memory, seen as its framing: the record header (CRC, length), the
// Section 0 pointer entries and each section's 16-byte header. Nothing is copied; every
// view stays inside the record length, which stays inside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

// A section as the record holds it: its header fields and its body.
struct SSectionView {
  uint16_t Crc = 0;
  uint16_t Id = 0;
  uint32_t Length = 0;  // the header's own length field, header included
  uint8_t Version = 0;
  uint8_t Protocol = 0;
  const uint8_t* Header = nullptr;  // the 16 header bytes
  const uint8_t* Bytes = nullptr;   // the body, after the header
  size_t Size = 0;                  // bounded by the length field
};

// A Section 0 pointer entry as stored.
struct SSectionEntry {
  uint16_t Id = 0;
  uint32_t Length = 0;
  uint32_t Index = 0;  // 1-based byte of the section in the record, 0 when absent
};

class KTX_API CRecordView {
 public:
  static constexpr size_t kRecordHeader = 6;
  static constexpr size_t kSectionHeader = 16;
  static constexpr size_t kEntrySize = 10;

  // False with 13 when the record header or Section 0 does not fit the buffer, 87 for
  // no buffer.
  bool Open(const uint8_t* record, size_t size);

  uint16_t Crc() const;
  uint32_t Length() const { return static_cast<uint32_t>(size_); }
  const uint8_t* Bytes() const { return record_; }
  size_t Entries() const { return entries_; }
  SSectionEntry Entry(size_t i) const;  // i below Entries()

  // False when absent (error 0) or when the section does not lie inside the record (13).
  // The first entry with the number decides, as in the reader.
  bool Find(uint16_t id, SSectionView* section) const;
  // The section whose header starts at 0-based `offset`, bounded by the record.
  bool At(size_t offset, SSectionView* section) const;

 private:
  const uint8_t* record_ = nullptr;
  size_t size_ = 0;  // the record length, at most the buffer size
  size_t entries_ = 0;
};
