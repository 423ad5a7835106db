#include "interchange/qrs_beats.h"

#include "platform/errors.h"
#include "reader/reader.h"

namespace {

constexpr uint32_t kBeatBytes = 14;  // type, then subtraction start, fiducial and end
constexpr uint32_t kHeadBytes = 6;   // reference beat length, its fiducial, the count

bool ReadBeats(plat::FileHandle file, std::vector<SQrsBeat>* beats) {
  SSectionIndexes index;
  if (!CReader::ReadSectionIndex(file, &index)) return false;
  uint8_t header[CReader::kSectionHeaderSize];
  if (!CReader::FindSection(file, &index, 4, header)) {
    return plat::LastError() == 0;  // absent: no beats
  }
  const uint32_t length = CReader::ReadU32(header + 4);
  uint64_t fileSize = 0;
  if (!plat::FileSize(file, &fileSize)) return false;
  if (length < CReader::kSectionHeaderSize + kHeadBytes || length > fileSize) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  std::vector<uint8_t> body(length - CReader::kSectionHeaderSize);
  uint32_t done = 0;
  if (!plat::ReadFile(file, body.data(), static_cast<uint32_t>(body.size()), &done)) return false;
  if (done != body.size()) return plat::FailWith(plat::kErrInvalidData);
  const uint32_t count = CReader::ReadU16(body.data() + 4);
  if (kHeadBytes + uint64_t{count} * kBeatBytes > body.size()) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* beat = body.data() + kHeadBytes + i * kBeatBytes;
    const uint32_t fiducial = CReader::ReadU32(beat + 6);  // 1-based
    beats->push_back({fiducial > 0 ? fiducial - 1 : 0, CReader::ReadU16(beat)});
  }
  return true;
}

}  // namespace

bool ReadQrsBeats(const char* name, std::vector<SQrsBeat>* beats) {
  beats->clear();
  return plat::CatchOutOfMemory(false, [&] {
    plat::FileHandle file = plat::kClosedFile;
    uint8_t recordHeader[CReader::kRecordHeaderSize];
    if (!CReader::Open(&file, name, recordHeader)) return false;
    const bool read = ReadBeats(file, beats);
    const plat::KeepLastError keep;
    plat::CloseFile(file);
    return read;
  });
}
