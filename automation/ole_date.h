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

}  // namespace ktx_com
