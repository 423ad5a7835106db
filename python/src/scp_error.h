// How the extension reports a failed library call: ScpFailure carries the library's
// Win32 error code to Python, where it becomes ktxscp32.ScpError(code, message).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ktxpy {

struct ScpFailure : std::runtime_error {
  ScpFailure(uint32_t code, const std::string& message) : std::runtime_error(message), Code(code) {}
  uint32_t Code;
};

// Throws the calling thread's last-error code with its message, `what` in front.
[[noreturn]] void ThrowLastError(const std::string& what);
[[noreturn]] void ThrowError(uint32_t code, const std::string& what);

}  // namespace ktxpy
