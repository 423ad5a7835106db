// Replacing a file whole: a finished copy renamed over it, its folder entry made durable.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/posix/posix_common.h"

namespace plat {
namespace {

int SyncPath(const char* path, int flags) {
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno;
  const int err = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return err;
}

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool RenameOver(const char* from, const char* to) {
  if (!from || !to) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    // The new contents reach the disk before the name points at them.
    const int unsynced = SyncPath(from, O_RDONLY);
    if (unsynced != 0) return FailWith(posix::ErrorForName(unsynced, from));
    if (rename(from, to) != 0) return FailWith(posix::ErrorForName(errno, to));
    // The rename is done; making the folder entry durable is all that is left, and a
    // file system that cannot sync folders has nothing more to offer.
    SyncPath(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY);
    return true;
  });
}

bool CopyPermissions(const char* from, const char* to) {
  if (!from || !to) return FailWith(kErrInvalidParameter);
  struct stat info {};
  if (stat(from, &info) != 0) return FailWith(posix::ErrorForName(errno, from));
  // The owner first: changing it clears set-user-ID bits. Only the superuser may give a
  // file away; anyone else keeps the copy as their own.
  if (chown(to, info.st_uid, info.st_gid) != 0 && errno != EPERM) {
    return FailWith(posix::ErrorForName(errno, to));
  }
  if (chmod(to, info.st_mode & 07777) != 0) return FailWith(posix::ErrorForName(errno, to));
  return true;
}

bool ResolveLinks(const char* name, std::string* resolved) {
  if (!name || !resolved) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    struct stat info {};
    if (lstat(name, &info) != 0 || !S_ISLNK(info.st_mode)) {
      *resolved = name;
      return true;
    }
    char* target = realpath(name, nullptr);
    if (!target) return FailWith(posix::ErrorForName(errno, name));
    try {
      *resolved = target;
    } catch (const std::bad_alloc&) {
      std::free(target);
      throw;
    }
    std::free(target);
    return true;
  });
}

}  // namespace plat
