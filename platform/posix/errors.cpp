// The last-error code, one per thread as on Windows.
#include "platform/errors.h"

namespace plat {
namespace {
thread_local uint32_t last_error = kErrSuccess;
}  // namespace

uint32_t LastError() {
  return last_error;
}

void SetLastError(uint32_t code) {
  last_error = code;
}

}  // namespace plat
