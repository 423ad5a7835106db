// The POSIX errno values that the library meets, as the Win32 numbers Windows gives
// for the same situation.
#include <cerrno>

#include "platform/errors.h"

namespace plat {

uint32_t ErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return kErrSuccess;
    case ENOENT:
      return kErrFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:  // Windows refuses to open a folder as a file with "access denied"
      return kErrAccessDenied;
    case EBADF:
      return kErrInvalidHandle;
    case ENOMEM:
      return kErrOutOfMemory;
    case EEXIST:
      return kErrFileExists;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:  // an exhausted quota, which Windows reports as a full disk too
#endif
      return kErrDiskFull;
    case EROFS:
      return kErrWriteProtect;
    case EFBIG:
      return kErrFileTooLarge;
    case EINVAL:
      return kErrInvalidParameter;
    default:
      return kErrGenFailure;
  }
}

}  // namespace plat
