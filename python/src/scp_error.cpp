#include "scp_error.h"

#include "platform/errors.h"

namespace ktxpy {

void ThrowError(uint32_t code, const std::string& what) {
  const std::string message = plat::ErrorMessage(code);
  throw ScpFailure(code, what.empty() ? message : what + ": " + message);
}

void ThrowLastError(const std::string& what) {
  ThrowError(plat::LastError(), what);
}

}  // namespace ktxpy
