// Win32 error numbers, used as the library's error vocabulary on every platform,
// and the thread-local last-error code that operations leave for their caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

#include "platform/export.h"

namespace plat {

enum ErrorCode : uint32_t {
  kErrSuccess = 0,
  kErrFileNotFound = 2,
  kErrPathNotFound = 3,
  kErrAccessDenied = 5,
  kErrInvalidHandle = 6,
  kErrBadFormat = 11,      // section header ID differs from its pointer entry
  kErrInvalidAccess = 12,  // writer has, or lacks, an open file
  kErrInvalidData = 13,
  kErrOutOfMemory = 14,
  kErrWriteProtect = 19,      // a read-only file system
  kErrGenFailure = 31,        // any POSIX errno without a closer Win32 match
  kErrSharingViolation = 32,  // the file is open elsewhere in a way that excludes this use
  kErrNotSupported = 50,      // the file system cannot do what was asked
  kErrFileExists = 80,
  kErrOutOfStructures = 84,  // table or store full
  kErrInvalidParameter = 87,
  kErrDiskFull = 112,
  kErrInsufficientBuffer = 122,
  kErrModNotFound = 126,
  kErrProcNotFound = 127,
  kErrNegativeSeek = 131,
  kErrFileTooLarge = 223,  // past the process's file-size limit
  kErrNoData = 232,
  kErrNoUnicodeTranslation = 1113,  // text the ANSI code page cannot hold
  kErrResourceNameNotFound = 1814,  // no string resource with that id
};

// Last-error code of the calling thread. On Windows this is the system's own
// (GetLastError/SetLastError), so codes left by system calls come through.
KTX_API uint32_t LastError();
KTX_API void SetLastError(uint32_t code);

// Leaves `code` as the last error and answers false: the one way out of a failing call.
// Codes that say the file system refused (2, 3, 5, 19, 31, 32, 50, 112, 223), as opposed
// to a record that is not what it should be.
inline bool IsFileSystemError(uint32_t code) {
  switch (code) {
    case kErrFileNotFound:
    case kErrPathNotFound:
    case kErrAccessDenied:
    case kErrWriteProtect:
    case kErrGenFailure:
    case kErrSharingViolation:
    case kErrNotSupported:
    case kErrDiskFull:
    case kErrFileTooLarge:
      return true;
    default:
      return false;
  }
}

inline bool FailWith(uint32_t code) {
  SetLastError(code);
  return false;
}

// The same for calls that answer a pointer or handle: null, with `code` left.
inline std::nullptr_t FailNull(uint32_t code) {
  SetLastError(code);
  return nullptr;
}

// Runs `operation` at the boundary of a library call: running out of memory inside it
// leaves 14 and answers `failed`, so no std::bad_alloc ever reaches a caller.
template <typename Result, typename Operation>
Result CatchOutOfMemory(Result failed, Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    SetLastError(kErrOutOfMemory);
    return failed;
  }
}

// Maps a POSIX errno value to its Win32 number (ENOENT -> 2, EACCES -> 5, ...).
KTX_API uint32_t ErrorFromErrno(int err);

// One-line English description of a Win32 error number, for messages to people.
KTX_API std::string ErrorMessage(uint32_t code);

// Restores the last-error code when it goes out of scope: for operations that only
// tidy up and must not change what the caller sees.
class KeepLastError {
 public:
  KeepLastError() : saved_(LastError()) {}
  ~KeepLastError() { SetLastError(saved_); }
  KeepLastError(const KeepLastError&) = delete;
  KeepLastError& operator=(const KeepLastError&) = delete;

 private:
  uint32_t saved_;
};

}  // namespace plat
