#include "platform/read_exact.h"

#include "platform/errors.h"

namespace plat {

bool ReadExact(FileHandle file, void* buffer, uint32_t count) {
  if (file == kClosedFile || (buffer == nullptr && count != 0)) {
    return FailWith(kErrInvalidParameter);
  }
  uint32_t done = 0;
  if (!ReadFile(file, buffer, count, &done)) return false;
  if (done != count) return FailWith(kErrInvalidData);
  return true;
}

}  // namespace plat
