// Copying one file over another, and removing a file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/posix/posix_common.h"

namespace plat {
namespace {

bool CopyBytes(FileHandle from, FileHandle to) {
  unsigned char buffer[64 * 1024];
  for (;;) {
    uint32_t got = 0;
    if (!ReadFile(from, buffer, sizeof buffer, &got)) return false;
    if (got == 0) return true;
    if (!WriteFile(to, buffer, got, nullptr)) return false;
  }
}

}  // namespace

bool CopyFileOver(const char* from, const char* to) {
  if (!from || !to) return FailWith(kErrInvalidParameter);
  const FileHandle source = OpenForRead(from);
  if (source == kClosedFile) return false;
  struct stat source_info {};
  struct stat target_info {};
  uint32_t refusal = kErrSuccess;
  if (fstat(static_cast<int>(source), &source_info) != 0) {
    refusal = ErrorFromErrno(errno);
  } else if (stat(to, &target_info) == 0 && target_info.st_dev == source_info.st_dev &&
             target_info.st_ino == source_info.st_ino) {
    refusal = kErrSharingViolation;  // truncating the target would destroy the source
  }
  const FileHandle target = refusal == kErrSuccess ? CreateAlways(to) : kClosedFile;
  bool copied = target != kClosedFile && CopyBytes(source, target);
  if (copied) {
    // The copy keeps the source's last-write time, as CopyFile does (best effort).
    const timespec times[2] = {{0, UTIME_OMIT}, source_info.st_mtim};
    futimens(static_cast<int>(target), times);
  }
  {
    KeepLastError keep;
    CloseFile(source);
  }
  if (refusal != kErrSuccess) return FailWith(refusal);
  if (target == kClosedFile) return false;
  if (copied) {
    copied = CloseFile(target);
  } else {
    KeepLastError keep;
    CloseFile(target);
  }
  if (!copied) {
    KeepLastError keep;  // a half-written copy is worth nothing
    unlink(to);
  }
  return copied;
}

bool RemoveFile(const char* name) {
  if (!name) return FailWith(kErrInvalidParameter);
  if (unlink(name) != 0)
    return FailWith(posix::ErrorForName(errno, name));  // a folder: EISDIR, 5 as on Windows
  return true;
}

}  // namespace plat
