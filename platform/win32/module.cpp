// Modules on Windows: DLLs through the system loader, strings from their STRINGTABLE.
#include "platform/module.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"

namespace plat {

ModuleHandle LoadModule(const char* name) {
  if (!name || !*name) {
    return FailNull(kErrInvalidParameter);
  }
  return ::LoadLibraryA(name);
}

void* FindEntry(ModuleHandle module, const char* entry) {
  if (!module || !entry) {
    return FailNull(!module ? kErrInvalidHandle : kErrInvalidParameter);
  }
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), entry));
}

void UnloadModule(ModuleHandle module) {
  if (!module) return;
  KeepLastError keep;
  ::FreeLibrary(static_cast<HMODULE>(module));
}

int LoadStringResource(ModuleHandle module, uint32_t id, char* buffer, int size) {
  if (!module || !buffer || size <= 0) {
    ::SetLastError(!module ? kErrInvalidHandle : kErrInvalidParameter);
    return 0;
  }
  buffer[0] = '\0';
  // Loaded wide and converted without best-fit characters, so that a string the ANSI
  // code page cannot hold fails (1113) instead of coming back as '?' or look-alikes.
  const wchar_t* text = nullptr;
  const int length =
      ::LoadStringW(static_cast<HMODULE>(module), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) {
    if (::GetLastError() == ERROR_SUCCESS) ::SetLastError(kErrResourceNameNotFound);
    return 0;
  }
  const bool utf8 = ::GetACP() == CP_UTF8;  // takes no default-character flags
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  const int bytes = ::WideCharToMultiByte(CP_ACP, flags, text, length, nullptr, 0, nullptr,
                                          utf8 ? nullptr : &usedDefault);
  if (bytes <= 0) return 0;
  if (usedDefault) {
    ::SetLastError(kErrNoUnicodeTranslation);
    return 0;
  }
  std::string ansi(static_cast<size_t>(bytes), '\0');
  if (::WideCharToMultiByte(CP_ACP, flags, text, length, &ansi[0], bytes, nullptr, nullptr) !=
      bytes) {
    return 0;
  }
  // As LoadStringA: as much as fits with the terminator, and the count without it.
  const int copied = bytes < size ? bytes : size - 1;
  std::memcpy(buffer, ansi.data(), static_cast<size_t>(copied));
  buffer[copied] = '\0';
  return copied;
}

bool LoadStringResourceUtf8(ModuleHandle module, uint32_t id, std::string* text) {
  if (!module || !text) return FailWith(!module ? kErrInvalidHandle : kErrInvalidParameter);
  const wchar_t* wide = nullptr;
  const int length =
      ::LoadStringW(static_cast<HMODULE>(module), id, reinterpret_cast<LPWSTR>(&wide), 0);
  if (length <= 0 || !wide) return FailWith(kErrResourceNameNotFound);
  return WideToUtf8(wide, length, text);
}

}  // namespace plat
