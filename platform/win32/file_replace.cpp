// Replacing a file whole, and the permissions a replacement keeps.
#include <windows.h>

#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {

bool RenameOver(const char* from, const char* to) {
  if (!from || !to) {
    return FailWith(kErrInvalidParameter);
  }
  return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool CopyPermissions(const char* from, const char* to) {
  if (!from || !to) {
    return FailWith(kErrInvalidParameter);
  }
  // The attributes that decide who may change the file; the security descriptor is
  // inherited from the folder both files share.
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD source = ::GetFileAttributesA(from);
  const DWORD target = ::GetFileAttributesA(to);
  if (source == INVALID_FILE_ATTRIBUTES || target == INVALID_FILE_ATTRIBUTES) return false;
  return ::SetFileAttributesA(to, (target & ~kKept) | (source & kKept)) != FALSE;
}

bool ResolveLinks(const char* name, std::string* resolved) {
  if (!name || !resolved) {
    return FailWith(kErrInvalidParameter);
  }
  // Links are rare on Windows and MoveFileEx replaces a link's target's name anyway.
  return CatchOutOfMemory(false, [&] {
    *resolved = name;
    return true;
  });
}

}  // namespace plat
