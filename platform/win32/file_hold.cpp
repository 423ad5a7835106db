// Working files held against deletion by the process that uses them.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {

FileHandle HoldFile(const char* name) {
  if (!name) {
    ::SetLastError(kErrInvalidParameter);
    return kClosedFile;
  }
  // No data access, so the share modes of readers and writers never meet this handle;
  // no delete sharing, so deleting the file fails with 32 while it is open.
  const HANDLE handle = ::CreateFileA(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return reinterpret_cast<FileHandle>(handle);
}

bool RemoveUnheldFile(const char* name) {
  if (!name) {
    return FailWith(kErrInvalidParameter);
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
