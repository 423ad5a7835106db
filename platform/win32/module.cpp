// Modules on Windows: DLLs through the system loader, strings from their STRINGTABLE.
#include "platform/module.h"

#include <windows.h>

#include "platform/errors.h"

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
  return ::LoadStringA(static_cast<HMODULE>(module), id, buffer, size);
}

}  // namespace plat
