#include "platform/posix/posix_common.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <new>
#include <string>

#include "platform/errors.h"

namespace plat::posix {

uint32_t ErrorForName(int err, const char* name) {
  if (err != ENOENT) return ErrorFromErrno(err);
  try {
    const std::string path = name;
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return kErrFileNotFound;  // "." or "/" exist
    struct stat info {};
    const std::string folder = path.substr(0, slash);
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? kErrFileNotFound
                                                                     : kErrPathNotFound;
  } catch (const std::bad_alloc&) {
    return kErrOutOfMemory;
  }
}

bool Descriptor(FileHandle file, int* fd) {
  if (file > static_cast<FileHandle>(INT_MAX)) return FailWith(kErrInvalidHandle);
  *fd = static_cast<int>(file);
  return true;
}

SystemTime ToSystemTime(const std::tm& local, long nanoseconds) {
  SystemTime time;
  time.Year = static_cast<uint16_t>(local.tm_year + 1900);
  time.Month = static_cast<uint16_t>(local.tm_mon + 1);
  time.DayOfWeek = static_cast<uint16_t>(local.tm_wday);
  time.Day = static_cast<uint16_t>(local.tm_mday);
  time.Hour = static_cast<uint16_t>(local.tm_hour);
  time.Minute = static_cast<uint16_t>(local.tm_min);
  // A leap second (60) is folded into the last second of the minute, as Windows has none.
  time.Second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  time.Milliseconds = static_cast<uint16_t>(nanoseconds / 1000000);
  return time;
}

}  // namespace plat::posix
