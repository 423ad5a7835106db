#include "format/section_header.h"

#include <cstring>

#include "platform/little_endian.h"
#include "record/crc.h"

SSectionHeader ParseSectionHeader(const uint8_t* header) {
  SSectionHeader out;
  out.Crc = plat::GetLE16(header);
  out.Id = plat::GetLE16(header + 2);
  out.Length = plat::GetLE32(header + 4);
  out.Version = header[8];
  out.Protocol = header[9];
  return out;
}

uint16_t SectionCrc(const uint8_t* section, uint32_t length) {
  CCRC crc;
  crc.Add(section + 2, length - 2);
  return crc.Value();
}

bool SealSection(uint8_t* section, uint32_t length) {
  const uint16_t crc = SectionCrc(section, length);
  if (plat::GetLE16(section) == crc) return false;
  plat::PutLE16(section, crc);
  return true;
}

void BuildSectionHeader(uint8_t* section, uint16_t id, uint32_t length, uint8_t version) {
  plat::PutLE16(section + 2, id);
  plat::PutLE32(section + 4, length);
  section[8] = version;
  std::memset(section + 9, 0, kSectionHeaderBytes - 9);
  SealSection(section, length);
}
