#include "automation/narrow_name.h"

#include <climits>
#include <cwchar>

namespace ktx_com {

bool NarrowName(const wchar_t* wide, char (&narrow)[kNarrowNameSize]) {
  narrow[0] = 0;
  const size_t length = wcslen(wide) + 1;
  if (length > INT_MAX) return false;
  const int written = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), narrow,
                                          kNarrowNameSize, nullptr, nullptr);
  narrow[kNarrowNameSize - 1] = 0;
  return written != 0;
}

}  // namespace ktx_com
