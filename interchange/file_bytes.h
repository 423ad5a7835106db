// Whole files in and out through the platform layer, for the interchange formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The largest input read whole: well beyond a day of 12-lead Holter data.
constexpr uint64_t kMaxInputBytes = uint64_t{1} << 30;

// Reads `name` whole; false with the system's code, or 13 for a file above kMaxInputBytes.
bool ReadFileBytes(const std::string& name, std::vector<uint8_t>* bytes);
// Creates (or truncates) `name` and writes `size` bytes; false with the system's code.
bool WriteFileBytes(const std::string& name, const void* data, size_t size);
inline bool WriteFileBytes(const std::string& name, const std::string& text) {
  return WriteFileBytes(name, text.data(), text.size());
}
