// The framing every record shares: the 6-byte record header, the 16-byte header each
// section starts with, the 10-byte Section 0 entry, and the CRC that seals a section.
#pragma once

#include <cstdint>

#include "platform/export.h"

constexpr uint32_t kRecordHeaderBytes = 6;    // CRC, record length
constexpr uint32_t kSectionHeaderBytes = 16;  // CRC, id, length, version, protocol, reserved
constexpr uint32_t kSectionEntryBytes = 10;   // id, length, 1-based index

struct SSectionHeader {
  uint16_t Crc = 0;
  uint16_t Id = 0;
  uint32_t Length = 0;  // the whole section, header included
  uint8_t Version = 0;
  uint8_t Protocol = 0;
};

// The fields of the kSectionHeaderBytes at `header`.
KTX_API SSectionHeader ParseSectionHeader(const uint8_t* header);

// The CRC of a section of `length` bytes (at least 2): every byte after the CRC field.
KTX_API uint16_t SectionCrc(const uint8_t* section, uint32_t length);
// Puts SectionCrc into the CRC field; true when that changed it.
KTX_API bool SealSection(uint8_t* section, uint32_t length);
// Fills the header of a section of `length` bytes (at least kSectionHeaderBytes): id,
// length, version, a zero protocol and reserved bytes; then seals it.
KTX_API void BuildSectionHeader(uint8_t* section, uint16_t id, uint32_t length, uint8_t version);
