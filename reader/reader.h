// CReader: reads SCP-ECG records. This part holds the file-level operations on
// which every read and rewrite rests, and the stand-alone CRC check.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/section_indexes.h"

class KTX_API CReader {
 public:
  static constexpr uint32_t kRecordHeaderSize = 6;
  static constexpr uint32_t kSectionHeaderSize = 16;

  CReader() = default;
  ~CReader();
  CReader(const CReader&) = delete;
  CReader& operator=(const CReader&) = delete;

  // Flushes and closes File when it is open; keeps the caller's last-error code.
  void CloseFile();

  // --- File operations: they keep no state; handle and buffers are arguments. ---

  // Opens `name` for reading (closing *file first), reads the record header and
  // refuses a file shorter than its record length (13). Leaves the file at byte 6.
  static bool Open(plat::FileHandle* file, const char* name, uint8_t* recordHeader);
  static bool ReadRecordHeader(plat::FileHandle file, uint8_t* header);
  static bool ReadSectionHeader(plat::FileHandle file, uint8_t* header);
  // Reads Section 0 at the current position into `index`; emptied on failure.
  static bool ReadSectionIndex(plat::FileHandle file, SSectionIndexes* index);
  // Positions the file at the body of the first section numbered `id` and reads its
  // header. Absent: false with error 0. Header ID differs: true with error 11.
  static bool FindSection(plat::FileHandle file, const SSectionIndexes* index, uint16_t id,
                          uint8_t* header);
  // Record CRC, then the CRCs of Sections 0, 1, 3, 5, 6, 7, 9 and 10. True when a
  // verdict was reached; *valid tells which.
  static bool VerifyCrc(plat::FileHandle file, bool* valid, const uint8_t* recordHeader,
                        const SSectionIndexes* index);

  // Position helpers. CurrentIndex gives the 1-based position of the next byte.
  static bool CurrentIndex(plat::FileHandle file, uint32_t* index);
  static bool MoveForward(plat::FileHandle file, uint32_t count);
  static bool MoveTo(plat::FileHandle file, uint32_t offset);

  // Stand-alone CRC check of a named file.
  static bool CheckCrc(const char* name, bool* valid);

  // Little-endian fields of the framing.
  static uint16_t ReadU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
  }
  static uint32_t ReadU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  }

  plat::FileHandle File = plat::kClosedFile;
  uint8_t RecordHeader[kRecordHeaderSize] = {};
  SSectionIndexes Index;
};
