#include "acquisition/reader_common.h"

#include <cmath>

#include "platform/errors.h"

namespace ktx::acq {

uint16_t TruncateTo16(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.2e18) return 0;
  return static_cast<uint16_t>(static_cast<int64_t>(value));
}

void SetDateTime(SECGInfo& info, const plat::SystemTime& time) {
  info.Year = time.Year;
  info.Month = static_cast<uint8_t>(time.Month);
  info.Day = static_cast<uint8_t>(time.Day);
  info.Hour = static_cast<uint8_t>(time.Hour);
  info.Minute = static_cast<uint8_t>(time.Minute);
  info.Second = static_cast<uint8_t>(time.Second);
}

SLeadObj* NoLeads(uint32_t code) {
  return plat::FailNull(code);
}

}  // namespace ktx::acq
