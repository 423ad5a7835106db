// BSTRs are the system's own on Windows.
#include <windows.h>

#include <oleauto.h>

#include "platform/errors.h"
#include "platform/text.h"

namespace plat {

Bstr SysAllocString(const OleChar* text) {
  const Bstr made = ::SysAllocString(text);
  if (!made && text) ::SetLastError(kErrOutOfMemory);
  return made;
}

Bstr SysAllocStringLen(const OleChar* text, uint32_t length) {
  const Bstr made = ::SysAllocStringLen(text, length);
  if (!made) ::SetLastError(kErrOutOfMemory);
  return made;
}

void SysFreeString(Bstr text) {
  ::SysFreeString(text);
}

uint32_t SysStringLen(const OleChar* text) {
  return ::SysStringLen(const_cast<BSTR>(text));
}

}  // namespace plat
