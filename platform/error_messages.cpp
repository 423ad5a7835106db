// Short English descriptions of the Win32 numbers the library reports. The same table
// serves every platform, so a message reads the same wherever the code came from.
#include <new>
#include <string>

#include "platform/errors.h"

namespace plat {
namespace {

struct Message {
  uint32_t Code;
  const char* Text;
};

constexpr Message kMessages[] = {
    {kErrSuccess, "The operation completed successfully."},
    {kErrFileNotFound, "The system cannot find the file specified."},
    {kErrPathNotFound, "The system cannot find the path specified."},
    {kErrAccessDenied, "Access is denied."},
    {kErrInvalidHandle, "The handle is invalid."},
    {kErrBadFormat, "A section's ID differs from its entry in the pointer table."},
    {kErrInvalidAccess, "The operation does not fit the object's state."},
    {kErrInvalidData, "The data is invalid."},
    {kErrOutOfMemory, "Not enough memory is available to complete this operation."},
    {kErrWriteProtect, "The media is write protected."},
    {kErrGenFailure, "A general failure occurred."},
    {kErrSharingViolation,
     "The process cannot access the file because it is being used by another process."},
    {kErrNotSupported, "The request is not supported."},
    {kErrFileExists, "The file exists."},
    {kErrOutOfStructures, "Storage to process this request is not available."},
    {kErrInvalidParameter, "The parameter is incorrect."},
    {kErrDiskFull, "There is not enough space on the disk."},
    {kErrInsufficientBuffer, "The result does not fit in the space allowed for it."},
    {kErrModNotFound, "The specified module could not be found."},
    {kErrProcNotFound, "The specified procedure could not be found."},
    {kErrNegativeSeek,
     "An attempt was made to move the file pointer before the beginning of the file."},
    {kErrFileTooLarge, "The file size exceeds the limit allowed and cannot be saved."},
    {kErrNoData, "The data needed is absent."},
    {kErrNoUnicodeTranslation,
     "No mapping for the Unicode character exists in the target multi-byte code page."},
    {kErrResourceNameNotFound, "The specified string resource could not be found."},
};

}  // namespace

std::string ErrorMessage(uint32_t code) {
  try {
    for (const Message& message : kMessages) {
      if (message.Code == code) return message.Text;
    }
    return "Error " + std::to_string(code);
  } catch (const std::bad_alloc&) {
    return std::string();
  }
}

}  // namespace plat
