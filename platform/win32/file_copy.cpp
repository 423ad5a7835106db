// Copying, removing and temporary files through the system's own calls.
#include <windows.h>

#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {

bool CopyFileOver(const char* from, const char* to) {
  if (!from || !to) {
    return FailWith(kErrInvalidParameter);
  }
  return ::CopyFileA(from, to, FALSE) != FALSE;
}

bool RemoveFile(const char* name) {
  if (!name) {
    return FailWith(kErrInvalidParameter);
  }
  return ::DeleteFileA(name) != FALSE;
}

bool CreateTempFile(const char* folder, const char* prefix, std::string* path) {
  if (!folder || !*folder || !path) {
    return FailWith(kErrInvalidParameter);
  }
  char buffer[MAX_PATH];
  if (!::GetTempFileNameA(folder, prefix ? prefix : "", 0, buffer)) return false;
  try {
    *path = buffer;
    return true;
  } catch (const std::bad_alloc&) {
    ::DeleteFileA(buffer);
    return FailWith(kErrOutOfMemory);
  }
}

}  // namespace plat
