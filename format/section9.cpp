// Section 9: statement codes as three-character decimal numbers, 3 rhythm codes
// followed by 7 morphology codes.
#include "format/section9.h"
#include "format/section_body.h"
#include "platform/errors.h"

namespace {

constexpr uint32_t kRecordBytes = 3;
constexpr int kRhythmRecords = 3;
constexpr int kMorphologyRecords = 7;

bool IsDigit(uint8_t c) {
  return c >= '0' && c <= '9';
}

// Codes are right-aligned: any non-digit is padding and may only lead. A record
// without digits, or with padding after a digit in its last place, is no code; both
// cases come down to the last character not being a digit.
bool IsCode(const uint8_t* record) {
  return IsDigit(record[kRecordBytes - 1]);
}

void PutCode(uint8_t* record, const uint16_t* codes, size_t count, size_t i) {
  if (i >= count) {
    record[0] = record[1] = record[2] = ' ';
    return;
  }
  const unsigned v = codes[i] % 1000u;
  record[0] = v >= 100 ? static_cast<uint8_t>('0' + v / 100) : ' ';
  record[1] = v >= 10 ? static_cast<uint8_t>('0' + v / 10 % 10) : ' ';
  record[2] = static_cast<uint8_t>('0' + v % 10);
}

// Padding inside the number counts as a zero digit ("1 2" is 102).
uint16_t CodeValue(const uint8_t* record) {
  uint16_t value = 0;
  for (uint32_t i = 0; i < kRecordBytes; ++i) {
    value = static_cast<uint16_t>(value * 10u + (IsDigit(record[i]) ? record[i] - '0' : 0));
  }
  return value;
}

// Reads one group of records, storing up to `max` valid codes when `codes` is given.
// An invalid record is skipped with 13 left as the last error.
bool ReadGroup(SectionBody& body, int records, uint16_t* codes, int16_t max, uint16_t* count) {
  uint16_t stored = 0;
  for (int i = 0; i < records; ++i) {
    uint8_t record[kRecordBytes];
    if (!body.Read(record, kRecordBytes)) return false;
    if (!IsCode(record)) {
      plat::SetLastError(plat::kErrInvalidData);
      continue;
    }
    if (codes != nullptr && stored < max) codes[stored++] = CodeValue(record);
  }
  if (count != nullptr) *count = stored;
  return true;
}

}  // namespace

bool ParseSection9(plat::FileHandle file, const uint8_t* sectionHeader, uint16_t* rhythmCodes,
                   int16_t maxRhythm, uint16_t* rhythmCount, uint16_t* morphologyCodes,
                   int16_t maxMorphology, uint16_t* morphologyCount) {
  if (file == plat::kClosedFile || sectionHeader == nullptr ||
      (rhythmCodes == nullptr && morphologyCodes == nullptr)) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  SectionBody body(file, sectionHeader);
  return ReadGroup(body, kRhythmRecords, rhythmCodes, maxRhythm, rhythmCount) &&
         ReadGroup(body, kMorphologyRecords, morphologyCodes, maxMorphology, morphologyCount);
}

void BuildSection9(const uint16_t* rhythmCodes, size_t rhythmCount, const uint16_t* morphologyCodes,
                   size_t morphologyCount, uint8_t* body) {
  for (size_t i = 0; i < size_t{kRhythmRecords}; ++i, body += kRecordBytes) {
    PutCode(body, rhythmCodes, rhythmCount, i);
  }
  for (size_t i = 0; i < size_t{kMorphologyRecords}; ++i, body += kRecordBytes) {
    PutCode(body, morphologyCodes, morphologyCount, i);
  }
}
