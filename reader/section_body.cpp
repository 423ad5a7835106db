#include "reader/section_body.h"

#include "platform/errors.h"
#include "platform/read_exact.h"
#include "reader/reader.h"

SectionBody::SectionBody(plat::FileHandle file, const uint8_t* sectionHeader)
    : file_(file), length_(CReader::ReadU32(sectionHeader + 4)) {}

bool SectionBody::Fits(uint64_t count) const {
  if (consumed_ + count > length_) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  return true;
}

bool SectionBody::Read(void* buffer, uint32_t count) {
  if (!Fits(count) || !plat::ReadExact(file_, buffer, count)) return false;
  consumed_ += count;
  return true;
}

bool SectionBody::Skip(uint32_t count, bool counted) {
  if (!CReader::MoveForward(file_, count)) return false;
  if (counted) consumed_ += count;
  return true;
}
