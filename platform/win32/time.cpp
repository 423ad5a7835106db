// Local time and GUIDs from the system.
#include <windows.h>

#include <objbase.h>

#include "platform/errors.h"
#include "platform/time.h"
#include "platform/win32/hresult_code.h"

namespace plat {

SystemTime LocalTimeNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return SystemTime{now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
                    now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
}

bool NewGuid(Guid* guid) {
  if (!guid) {
    return FailWith(kErrInvalidParameter);
  }
  GUID made;
  const HRESULT result = ::CoCreateGuid(&made);
  if (FAILED(result)) {
    return FailWith(win32::CodeFromHresult(result, kErrGenFailure));
  }
  guid->Data1 = made.Data1;
  guid->Data2 = made.Data2;
  guid->Data3 = made.Data3;
  for (int i = 0; i < 8; ++i) guid->Data4[i] = made.Data4[i];
  return true;
}

}  // namespace plat
