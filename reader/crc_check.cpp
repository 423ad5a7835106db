// CRC verification of a whole record and the stand-alone CRC check.
#include "platform/errors.h"
#include "platform/read_exact.h"
#include "reader/open_record.h"
#include "reader/reader.h"
#include "reader/stretch_crc.h"
#include "record/crc.h"

namespace {

constexpr uint32_t kChunk = 1024;

// Sections whose CRC is verified; the others (2, 4, 8, 11, 12 and up) never are.
bool IsVerifiedSection(uint16_t id) {
  switch (id) {
    case 0:
    case 1:
    case 3:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
      return true;
    default:
      return false;
  }
}

// Feeds the next `count` file bytes into the register, 1024 at a time.
bool AddFileBytes(CCRC& crc, plat::FileHandle file, uint32_t count) {
  uint8_t chunk[kChunk];
  while (count > 0) {
    const uint32_t part = count < kChunk ? count : kChunk;
    if (!plat::ReadExact(file, chunk, part)) return false;
    crc.Add(chunk, part);
    count -= part;
  }
  return true;
}

}  // namespace

bool CheckStretchCrc(plat::FileHandle file, int64_t start, uint32_t length, bool* valid) {
  if (valid == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (length < 2) {  // too short to hold its own CRC
    return plat::FailWith(plat::kErrInvalidData);
  }
  uint8_t stored[2];
  if (!plat::Seek(file, start, plat::SeekFrom::Begin) || !plat::ReadExact(file, stored, 2)) {
    return false;
  }
  CCRC crc;
  if (!AddFileBytes(crc, file, length - 2)) return false;
  crc.Add(&stored[1], 1);
  crc.Add(&stored[0], 1);
  *valid = crc.Value() == 0;
  return true;
}

bool CReader::VerifyCrc(plat::FileHandle file, bool* valid, const uint8_t* recordHeader,
                        const SSectionIndexes* index) {
  if (valid != nullptr) *valid = false;
  if (file == plat::kClosedFile || valid == nullptr || recordHeader == nullptr ||
      index == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  bool recordValid = false;
  if (!CheckStretchCrc(file, 0, ReadU32(recordHeader + 2), &recordValid)) return false;
  if (!recordValid) return true;

  for (uint32_t i = 0; i < index->Count; ++i) {
    const SSectionIndex* entry = index->Entry(i);
    if (entry == nullptr) {
      return plat::FailWith(plat::kErrOutOfStructures);
    }
    if (entry->Length == 0 || !IsVerifiedSection(entry->Id)) continue;
    // An index of 0 gives offset -1, which the seek refuses: no verdict.
    bool sectionValid = false;
    if (!CheckStretchCrc(file, static_cast<int64_t>(entry->Index) - 1, entry->Length,
                         &sectionValid)) {
      return false;
    }
    if (!sectionValid) return true;
  }
  *valid = true;
  return true;
}

bool CReader::CheckCrc(const char* name, bool* valid) {
  if (valid != nullptr) *valid = false;
  if (name == nullptr || valid == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  return WithOpenRecord(name, [valid](plat::FileHandle file, const uint8_t* recordHeader,
                                      const SSectionIndexes& index) {
    return VerifyCrc(file, valid, recordHeader, &index);
  });
}
