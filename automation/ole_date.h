// Automation DATE values built from and split into separate date and time members.
#pragma once

#include <windows.h>

namespace ktx_com {

struct SDateParts {
  short Year, Month, Day, Hour, Minute, Second;
};

// Composes the date; fails (E_FAIL, *date 0.0) unless it converts back to the same parts,
// so 31 February or month 13 are refused.
HRESULT ComposeDate(const SDateParts& parts, DATE* date);
// Splits the date; a value that cannot be split gives -1 in every part.
SDateParts SplitDate(DATE date);

// What a date-and-time property keeps of a split value: all of it.
inline SDateParts DateAndTime(SDateParts parts) {
  return parts;
}
// What a date-only property keeps: the day; its time stays midnight.
inline SDateParts DayOnly(SDateParts parts) {
  parts.Hour = parts.Minute = parts.Second = 0;
  return parts;
}

}  // namespace ktx_com
