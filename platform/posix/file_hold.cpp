// Working files held by the process that uses them, and the removal of those nobody holds.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/posix/posix_common.h"
#include "platform/posix/share_lock.h"

namespace plat {
namespace {

int OpenToHold(const char* name) {
  int fd;
  do {
    fd = open(name, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Whether `name` still leads to the open file: a remover may have taken it away.
bool StillNamed(int fd, const char* name) {
  struct stat open_info {};
  struct stat named_info {};
  return fstat(fd, &open_info) == 0 && stat(name, &named_info) == 0 &&
         open_info.st_dev == named_info.st_dev && open_info.st_ino == named_info.st_ino;
}

}  // namespace

FileHandle HoldFile(const char* name) {
  if (!name) {
    SetLastError(kErrInvalidParameter);
    return kClosedFile;
  }
  const int fd = OpenToHold(name);
  if (fd < 0) {
    SetLastError(posix::ErrorForName(errno, name));
    return kClosedFile;
  }
  // Without lock support nothing can be held, and nothing will be removed either.
  if (!posix::TryHold(fd) && LastError() != kErrNotSupported) {
    const uint32_t code = LastError();
    close(fd);
    SetLastError(code);
    return kClosedFile;
  }
  if (!StillNamed(fd, name)) {
    close(fd);
    SetLastError(kErrFileNotFound);
    return kClosedFile;
  }
  return static_cast<FileHandle>(fd);
}

bool RemoveUnheldFile(const char* name) {
  if (!name) return FailWith(kErrInvalidParameter);
  const int fd = OpenToHold(name);
  if (fd < 0) return FailWith(posix::ErrorForName(errno, name));
  // Removed while held by this call: a holder that comes later finds the name gone.
  bool removed = posix::TryHold(fd) && StillNamed(fd, name);
  if (removed && unlink(name) != 0) removed = FailWith(posix::ErrorForName(errno, name));
  {
    KeepLastError keep;
    close(fd);
  }
  return removed;
}

bool ListFiles(const char* folder, const char* prefix, const char* suffix,
               std::vector<std::string>* paths) {
  if (!folder || !*folder || !prefix || !suffix || !paths) return FailWith(kErrInvalidParameter);
  DIR* dir = opendir(folder);
  // A missing folder is a missing path, as FindFirstFile says.
  if (!dir) return FailWith(errno == ENOENT ? kErrPathNotFound : ErrorFromErrno(errno));
  const bool listed = CatchOutOfMemory(false, [&] {
    paths->clear();
    std::string base = folder;
    if (base.back() != '/') base += '/';
    const size_t prefix_size = std::strlen(prefix);
    const size_t suffix_size = std::strlen(suffix);
    while (const dirent* entry = readdir(dir)) {
      const size_t size = std::strlen(entry->d_name);
      if (size < prefix_size + suffix_size ||
          std::strncmp(entry->d_name, prefix, prefix_size) != 0 ||
          std::strcmp(entry->d_name + size - suffix_size, suffix) != 0) {
        continue;
      }
      paths->push_back(base + entry->d_name);
    }
    return true;
  });
  closedir(dir);
  return listed;
}

}  // namespace plat
