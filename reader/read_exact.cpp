#include "reader/read_exact.h"

#include "platform/errors.h"

bool ReadExact(plat::FileHandle file, void* buffer, uint32_t count) {
  if (file == plat::kClosedFile || (buffer == nullptr && count != 0)) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  uint32_t done = 0;
  if (!plat::ReadFile(file, buffer, count, &done)) return false;
  if (done != count) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  return true;
}
