#include "automation/ole_date.h"

#include <oleauto.h>

namespace ktx_com {

HRESULT ComposeDate(const SDateParts& parts, DATE* date) {
  if (!date) return E_INVALIDARG;
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(parts.Year);
  time.wMonth = static_cast<WORD>(parts.Month);
  time.wDay = static_cast<WORD>(parts.Day);
  time.wHour = static_cast<WORD>(parts.Hour);
  time.wMinute = static_cast<WORD>(parts.Minute);
  time.wSecond = static_cast<WORD>(parts.Second);
  DATE value = 0.0;
  SYSTEMTIME back = {};
  if (SystemTimeToVariantTime(&time, &value) && VariantTimeToSystemTime(value, &back) &&
      back.wYear == time.wYear && back.wMonth == time.wMonth && back.wDay == time.wDay &&
      back.wHour == time.wHour && back.wMinute == time.wMinute && back.wSecond == time.wSecond) {
    *date = value;
    return S_OK;
  }
  *date = 0.0;
  return E_FAIL;
}

SDateParts SplitDate(DATE date) {
  SYSTEMTIME time = {};
  if (!VariantTimeToSystemTime(date, &time)) return {-1, -1, -1, -1, -1, -1};
  return {static_cast<short>(time.wYear),   static_cast<short>(time.wMonth),
          static_cast<short>(time.wDay),    static_cast<short>(time.wHour),
          static_cast<short>(time.wMinute), static_cast<short>(time.wSecond)};
}

}  // namespace ktx_com
