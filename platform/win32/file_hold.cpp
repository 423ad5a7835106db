// Working files held by the process that uses them. A handle on the file itself cannot
// hold it: only a handle with data access counts against deleting it, and such a handle
// would turn away the writers, which share with nobody. The hold is a hidden companion
// "<name>.held" instead, open while held and deleted by the system with its last handle,
// so it is gone when its process dies, however it died.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {
namespace {

bool HoldName(const char* name, std::string* hold) {
  return CatchOutOfMemory(false, [&] {
    *hold = std::string(name) + ".held";
    return true;
  });
}

}  // namespace

FileHandle HoldFile(const char* name) {
  std::string holdName;
  if (!name) {
    ::SetLastError(kErrInvalidParameter);
    return kClosedFile;
  }
  if (!HoldName(name, &holdName)) return kClosedFile;
  const HANDLE hold =
      ::CreateFileA(holdName.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (hold == INVALID_HANDLE_VALUE) {
    // Another holder, or a companion a power cut left: either way not ours to take.
    if (::GetLastError() == ERROR_FILE_EXISTS) ::SetLastError(kErrSharingViolation);
    return kClosedFile;
  }
  // The file itself must still be there: a clean-up may have taken it before the hold.
  if (::GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) {
    ::CloseHandle(hold);
    ::SetLastError(kErrFileNotFound);
    return kClosedFile;
  }
  return reinterpret_cast<FileHandle>(hold);
}

bool RemoveUnheldFile(const char* name) {
  if (!name) {
    return FailWith(kErrInvalidParameter);
  }
  std::string holdName;
  if (!HoldName(name, &holdName)) return false;
  // A held companion is open and shared with nobody: 32. One that a power cut left is
  // opened here to be deleted the same way.
  const HANDLE hold = ::CreateFileA(holdName.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (hold != INVALID_HANDLE_VALUE) {
    ::CloseHandle(hold);
  } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
    return false;
  }
  return ::DeleteFileA(name) != FALSE;
}

bool ListFiles(const char* folder, const char* prefix, const char* suffix,
               std::vector<std::string>* paths) {
  if (!folder || !*folder || !prefix || !suffix || !paths) {
    return FailWith(kErrInvalidParameter);
  }
  return CatchOutOfMemory(false, [&] {
    paths->clear();
    std::string base = folder;
    if (base.back() != '\\' && base.back() != '/') base += '\\';
    const std::string pattern = base + prefix + "*" + suffix;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      return ::GetLastError() == ERROR_FILE_NOT_FOUND || FailWith(::GetLastError());
    }
    struct SearchEnd {
      HANDLE Search;
      ~SearchEnd() { ::FindClose(Search); }
    } end{search};
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        paths->push_back(base + found.cFileName);
      }
    } while (::FindNextFileA(search, &found));
    return true;
  });
}

}  // namespace plat
