#include "acquisition/bio_input.h"

#include "platform/errors.h"
#include "platform/little_endian.h"
#include "platform/read_exact.h"

namespace ktx::acq {

bool BioInput::Read(void* buffer, uint32_t count) {
  if (!plat::ReadExact(file_, buffer, count)) return false;
  position_ += count;
  return true;
}

bool BioInput::Skip(uint32_t count) {
  if (position_ + count > size_) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  if (!plat::Seek(file_, count, plat::SeekFrom::Current)) return false;
  position_ += count;
  return true;
}

bool BioInput::ReadBlockHead(uint16_t* length, uint8_t* type) {
  uint8_t head[3];
  if (!Read(head, sizeof(head))) return false;
  *length = plat::GetLE16(head);
  *type = head[2];
  return true;
}

}  // namespace ktx::acq
