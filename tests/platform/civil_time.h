// Calendar arithmetic for checking SystemTime values independently of the library.
#pragma once

#include <cstdint>

#include "platform/time.h"

namespace test {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
inline int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t year_of_era = year - era * 400;
  const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

// Seconds of a local time counted as if it were UTC: good for differences.
inline int64_t Seconds(const plat::SystemTime& time) {
  return DaysFromCivil(time.Year, time.Month, time.Day) * 86400 + time.Hour * 3600 +
         time.Minute * 60 + time.Second;
}

}  // namespace test
