#include "format/section_body.h"

#include "platform/errors.h"
#include "platform/little_endian.h"
#include "platform/read_exact.h"

SectionBody::SectionBody(plat::FileHandle file, const uint8_t* sectionHeader)
    : file_(file), length_(plat::GetLE32(sectionHeader + 4)) {}

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
  if (file_ == plat::kClosedFile) return plat::FailWith(plat::kErrInvalidParameter);
  if (count != 0 && !plat::Seek(file_, count, plat::SeekFrom::Current)) return false;
  if (counted) consumed_ += count;
  return true;
}
