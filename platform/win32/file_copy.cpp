// Copying, removing and temporary files through the system's own calls.
#include <windows.h>

#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {

namespace {

bool CopyBytes(HANDLE from, HANDLE to) {
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(from, buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) return true;
    DWORD put = 0;
    if (!::WriteFile(to, buffer, got, &put, nullptr)) return false;
    if (put != got) return FailWith(kErrDiskFull);
  }
}

}  // namespace

// By hand rather than CopyFileA, which may ask for delete access to the target: a
// working copy is held against deletion while it is filled (HoldFile).
bool CopyFileOver(const char* from, const char* to) {
  if (!from || !to) {
    return FailWith(kErrInvalidParameter);
  }
  const HANDLE source = ::CreateFileA(from, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  // The source, open for reading only, refuses a second open for writing: copying a file
  // onto itself fails with 32 before anything is truncated.
  const HANDLE target =
      ::CreateFileA(to, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (target == INVALID_HANDLE_VALUE) {
    KeepLastError keep;
    ::CloseHandle(source);
    return false;
  }
  bool copied = CopyBytes(source, target);
  FILETIME written;
  if (copied && ::GetFileTime(source, nullptr, nullptr, &written)) {
    ::SetFileTime(target, nullptr, nullptr, &written);  // kept as CopyFile does, best effort
  }
  KeepLastError keep;
  ::CloseHandle(source);
  if (!::CloseHandle(target)) copied = false;
  if (!copied) ::DeleteFileA(to);  // a half-written copy is worth nothing
  return copied;
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
