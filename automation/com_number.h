// Conversions of automation numbers into the narrow fields of the core records.
#pragma once

#include <cmath>
#include <cstdint>

namespace ktx_com {

// value truncated toward zero; NaN gives 0 and values beyond the 64-bit range saturate,
// so that callers can take the low bits of any double without undefined behaviour.
inline int64_t TruncateToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

inline uint16_t Low16(double value) {
  return static_cast<uint16_t>(static_cast<uint64_t>(TruncateToInt64(value)) & 0xFFFFu);
}
inline uint32_t Low32(double value) {
  return static_cast<uint32_t>(static_cast<uint64_t>(TruncateToInt64(value)) & 0xFFFFFFFFu);
}

}  // namespace ktx_com
