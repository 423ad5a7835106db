// Files on POSIX: a descriptor behind each handle, with Win32 results, codes and share modes.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/memory_file.h"
#include "platform/posix/posix_common.h"
#include "platform/posix/share_lock.h"

namespace plat {

static_assert(sizeof(off_t) == 8, "64-bit file offsets are needed");

using posix::Descriptor;

namespace {
FileHandle NoFile(uint32_t code) {
  SetLastError(code);
  return kClosedFile;
}

// Opens `name` and takes its share; a refused share closes the file again.
FileHandle OpenShared(const char* name, int flags, posix::Share share) {
  int fd;
  do {
    fd = open(name, flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return NoFile(posix::ErrorForName(errno, name));
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    // A folder opens here but not on Windows, which answers "access denied".
    const uint32_t code = S_ISDIR(info.st_mode) ? kErrAccessDenied : ErrorFromErrno(errno);
    close(fd);
    return NoFile(code);
  }
  if (!posix::TakeShare(fd, share)) {
    const uint32_t code = LastError();
    close(fd);
    return NoFile(code);
  }
  return static_cast<FileHandle>(fd);
}

}  // namespace

FileHandle OpenForRead(const char* name) {
  if (!name) return NoFile(kErrInvalidParameter);
  const FileHandle file = OpenShared(name, O_RDONLY, posix::Share::Read);
  if (file != kClosedFile) {
    // Only a hint: a refusal changes nothing.
    posix_fadvise(static_cast<int>(file), 0, 0, POSIX_FADV_RANDOM);
  }
  return file;
}

FileHandle OpenReadWrite(const char* name) {
  if (!name) return NoFile(kErrInvalidParameter);
  const FileHandle file = OpenShared(name, O_RDWR | O_CREAT, posix::Share::None);
  if (file != kClosedFile) posix_fadvise(static_cast<int>(file), 0, 0, POSIX_FADV_RANDOM);
  return file;
}

FileHandle CreateAlways(const char* name) {
  if (!name) return NoFile(kErrInvalidParameter);
  // Truncated only once the file is ours alone, as Windows refuses a file in use.
  const FileHandle file = OpenShared(name, O_WRONLY | O_CREAT, posix::Share::None);
  if (file == kClosedFile) return file;
  int result;
  do {
    result = ftruncate(static_cast<int>(file), 0);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const uint32_t code = ErrorFromErrno(errno);
    close(static_cast<int>(file));
    return NoFile(code);
  }
  return file;
}

bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
  if (memory::Owns(file)) return memory::Read(file, buffer, count, done);
  if (done) *done = 0;
  int fd;
  if (!Descriptor(file, &fd)) return false;
  if (!buffer && count) return FailWith(kErrInvalidParameter);
  auto* bytes = static_cast<unsigned char*>(buffer);
  uint32_t total = 0;
  // Windows fills the whole request unless the file ends first; read() may stop short.
  while (total < count) {
    const ssize_t got = read(fd, bytes + total, count - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (done) *done = total;
      return FailWith(ErrorFromErrno(errno));
    }
    if (got == 0) break;
    total += static_cast<uint32_t>(got);
  }
  if (done) *done = total;
  return true;
}

bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* done) {
  if (done) *done = 0;
  int fd;
  if (!Descriptor(file, &fd)) return false;
  if (!buffer && count) return FailWith(kErrInvalidParameter);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  uint32_t total = 0;
  while (total < count) {
    const ssize_t put = write(fd, bytes + total, count - total);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (done) *done = total;
      return put == 0 ? FailWith(kErrDiskFull) : FailWith(ErrorFromErrno(errno));
    }
    total += static_cast<uint32_t>(put);
  }
  if (done) *done = total;
  return true;
}

bool Seek(FileHandle file, int64_t offset, SeekFrom from, uint64_t* position) {
  if (memory::Owns(file)) return memory::Seek(file, offset, from, position);
  int fd;
  if (!Descriptor(file, &fd)) return false;
  const int whence = from == SeekFrom::Begin     ? SEEK_SET
                     : from == SeekFrom::Current ? SEEK_CUR
                                                 : SEEK_END;
  const off_t moved = lseek(fd, static_cast<off_t>(offset), whence);
  if (moved < 0) {
    // The origin is always valid, so EINVAL means the result would fall before the start.
    return errno == EINVAL ? FailWith(kErrNegativeSeek) : FailWith(ErrorFromErrno(errno));
  }
  if (position) *position = static_cast<uint64_t>(moved);
  return true;
}

bool FileSize(FileHandle file, uint64_t* size) {
  if (memory::Owns(file)) return memory::Size(file, size);
  int fd;
  if (!Descriptor(file, &fd)) return false;
  if (!size) return FailWith(kErrInvalidParameter);
  struct stat info {};
  if (fstat(fd, &info) != 0) return FailWith(ErrorFromErrno(errno));
  *size = static_cast<uint64_t>(info.st_size);
  return true;
}

bool Flush(FileHandle file) {
  int fd;
  if (!Descriptor(file, &fd)) return false;
  // Writes go straight to the kernel; flushing means reaching the disk, as FlushFileBuffers.
  if (fsync(fd) != 0) return FailWith(ErrorFromErrno(errno));
  return true;
}

bool CloseFile(FileHandle file) {
  if (memory::Owns(file)) return memory::Close(file);
  int fd;
  if (!Descriptor(file, &fd)) return false;
  // On Linux the descriptor is gone even when close() is interrupted: not a failure.
  if (close(fd) != 0 && errno != EINTR) return FailWith(ErrorFromErrno(errno));
  return true;
}

bool LastWriteTimeLocal(FileHandle file, SystemTime* time) {
  int fd;
  if (!Descriptor(file, &fd)) return false;
  if (!time) return FailWith(kErrInvalidParameter);
  struct stat info {};
  if (fstat(fd, &info) != 0) return FailWith(ErrorFromErrno(errno));
  std::tm local{};
  if (!localtime_r(&info.st_mtim.tv_sec, &local)) return FailWith(ErrorFromErrno(errno));
  *time = posix::ToSystemTime(local, info.st_mtim.tv_nsec);
  return true;
}

}  // namespace plat
