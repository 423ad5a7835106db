// Local time and identifiers.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace plat {

// Field for field the Win32 SYSTEMTIME.
struct SystemTime {
  uint16_t Year;
  uint16_t Month;      // 1-12
  uint16_t DayOfWeek;  // 0 = Sunday
  uint16_t Day;        // 1-31
  uint16_t Hour;
  uint16_t Minute;
  uint16_t Second;
  uint16_t Milliseconds;
};

KTX_API SystemTime LocalTimeNow();

// Field for field the Win32 GUID.
struct Guid {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

// A new random (version 4) identifier.
KTX_API bool NewGuid(Guid* guid);

}  // namespace plat
