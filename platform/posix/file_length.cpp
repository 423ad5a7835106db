// A file's length: room made before a rewrite overwrites anything, and the final cut.
#include <fcntl.h>
#include <linux/falloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/posix/posix_common.h"

namespace plat {
namespace {

// For file systems that allocate nothing in advance: zeros written past the old end.
int ExtendWithZeros(int fd, off_t from, off_t to) {
  static const unsigned char zeros[64 * 1024] = {};
  while (from < to) {
    const size_t count = to - from < static_cast<off_t>(sizeof zeros)
                             ? static_cast<size_t>(to - from)
                             : sizeof zeros;
    const ssize_t put = pwrite(fd, zeros, count, from);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return ENOSPC;
    from += put;
  }
  return 0;
}

int Truncate(int fd, off_t length) {
  int result;
  do {
    result = ftruncate(fd, length);
  } while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : errno;
}

}  // namespace

bool ReserveLength(FileHandle file, uint64_t length) {
  int fd;
  if (!posix::Descriptor(file, &fd)) return false;
  if (length > static_cast<uint64_t>(INT64_MAX)) return FailWith(kErrFileTooLarge);
  if (length == 0) return true;
  struct stat before {};
  if (fstat(fd, &before) != 0) return FailWith(ErrorFromErrno(errno));
  const auto wanted = static_cast<off_t>(length);
  // Allocating past the end without moving it is not held against the file-size limit,
  // which the writes then would meet part way: it is asked here.
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      length > limit.rlim_cur) {
    return FailWith(kErrFileTooLarge);
  }
  // Blocks set aside past the end without moving it: until the first write the file
  // reads exactly as before, even to a process that kills this one.
  int err;
  do {
    err = fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, wanted) == 0 ? 0 : errno;
  } while (err == EINTR);
  if (err == EOPNOTSUPP || err == ENOSYS) {
    // The C library emulates allocation where the file system has none; some refuse even that.
    do {
      err = posix_fallocate(fd, 0, wanted);
    } while (err == EINTR);
  }
  if (err == EOPNOTSUPP || err == EINVAL || err == ENOSYS) {
    err = ExtendWithZeros(fd, before.st_size, wanted);
  }
  if (err == 0) return true;
  // A refusal part way may have grown the file: it gets its old length back.
  struct stat after {};
  if (fstat(fd, &after) == 0 && after.st_size > before.st_size) Truncate(fd, before.st_size);
  return FailWith(ErrorFromErrno(err));
}

bool SetLength(FileHandle file, uint64_t length) {
  int fd;
  if (!posix::Descriptor(file, &fd)) return false;
  if (length > static_cast<uint64_t>(INT64_MAX)) return FailWith(kErrFileTooLarge);
  const int err = Truncate(fd, static_cast<off_t>(length));
  return err == 0 || FailWith(ErrorFromErrno(err));
}

void ReportFileSizeLimitAsError() {
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace plat
