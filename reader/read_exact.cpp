#include "reader/read_exact.h"

#include "platform/errors.h"

bool ReadExact(plat::FileHandle file, void* buffer, uint32_t count) {
  if (file == plat::kClosedFile || (buffer == nullptr && count != 0)) {
    plat::SetLastError(plat::kErrInvalidParameter);
    return false;
  }
  uint32_t done = 0;
  if (!plat::ReadFile(file, buffer, count, &done)) return false;
  if (done != count) {
    plat::SetLastError(plat::kErrInvalidData);
    return false;
  }
  return true;
}
