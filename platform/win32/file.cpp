// Files on Windows: the system's handles and calls as they are.
#include "platform/file.h"

#include <windows.h>

#include "platform/errors.h"
#include "platform/memory_file.h"

namespace plat {
namespace {

static_assert(sizeof(FileHandle) == sizeof(HANDLE), "a handle must fit a FileHandle");

HANDLE ToHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

// INVALID_HANDLE_VALUE is also the current process's pseudo handle, which some calls
// accept: refuse it first.
bool IsClosed(FileHandle file) {
  if (file != kClosedFile) return false;
  ::SetLastError(kErrInvalidHandle);
  return true;
}

// How long an open waits for a conflicting one to close, as on POSIX.
constexpr ULONGLONG kShareWaitMilliseconds = 2000;
constexpr DWORD kPollMilliseconds = 5;

FileHandle Open(const char* name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  if (!name) {
    ::SetLastError(kErrInvalidParameter);
    return kClosedFile;
  }
  const ULONGLONG deadline = ::GetTickCount64() + kShareWaitMilliseconds;
  for (;;) {
    const HANDLE handle = ::CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
    if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION ||
        ::GetTickCount64() >= deadline) {
      return reinterpret_cast<FileHandle>(handle);
    }
    ::Sleep(kPollMilliseconds);
  }
}

// Moves the end of the file to `length` and the file pointer back to where it was; a
// failed move keeps its error.
bool MoveEndOfFile(HANDLE handle, uint64_t length) {
  LARGE_INTEGER position;
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  if (!::SetFilePointerEx(handle, zero, &position, FILE_CURRENT)) return false;
  LARGE_INTEGER wanted;
  wanted.QuadPart = static_cast<LONGLONG>(length);
  const bool moved =
      ::SetFilePointerEx(handle, wanted, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle);
  KeepLastError keep;
  ::SetFilePointerEx(handle, position, nullptr, FILE_BEGIN);
  return moved;
}

}  // namespace

FileHandle OpenForRead(const char* name) {
  return Open(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS);
}

FileHandle OpenReadWrite(const char* name) {
  return Open(name, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS,
              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS);
}

FileHandle CreateAlways(const char* name) {
  return Open(name, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
  if (memory::Owns(file)) return memory::Read(file, buffer, count, done);
  if (done) *done = 0;
  if (IsClosed(file)) return false;
  DWORD got = 0;
  const bool ok = ::ReadFile(ToHandle(file), buffer, count, &got, nullptr) != FALSE;
  if (done) *done = got;
  return ok;
}

bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* done) {
  if (done) *done = 0;
  if (IsClosed(file)) return false;
  DWORD put = 0;
  const bool ok = ::WriteFile(ToHandle(file), buffer, count, &put, nullptr) != FALSE;
  if (done) *done = put;
  return ok;
}

bool Seek(FileHandle file, int64_t offset, SeekFrom from, uint64_t* position) {
  if (memory::Owns(file)) return memory::Seek(file, offset, from, position);
  if (IsClosed(file)) return false;
  const DWORD method = from == SeekFrom::Begin     ? FILE_BEGIN
                       : from == SeekFrom::Current ? FILE_CURRENT
                                                   : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER moved;
  if (!::SetFilePointerEx(ToHandle(file), distance, &moved, method)) return false;
  if (position) *position = static_cast<uint64_t>(moved.QuadPart);
  return true;
}

bool FileSize(FileHandle file, uint64_t* size) {
  if (memory::Owns(file)) return memory::Size(file, size);
  if (IsClosed(file)) return false;
  if (!size) {
    return FailWith(kErrInvalidParameter);
  }
  LARGE_INTEGER bytes;
  if (!::GetFileSizeEx(ToHandle(file), &bytes)) return false;
  *size = static_cast<uint64_t>(bytes.QuadPart);
  return true;
}

bool Flush(FileHandle file) {
  if (IsClosed(file)) return false;
  return ::FlushFileBuffers(ToHandle(file)) != FALSE;
}

bool ReserveLength(FileHandle file, uint64_t length) {
  if (IsClosed(file)) return false;
  const HANDLE handle = ToHandle(file);
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(handle, &size)) return false;
  if (length <= static_cast<uint64_t>(size.QuadPart)) return true;
  // Clusters set aside without moving the end of the file.
  FILE_ALLOCATION_INFO allocation;
  allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(length);
  if (::SetFileInformationByHandle(handle, FileAllocationInfo, &allocation, sizeof allocation)) {
    return true;
  }
  const DWORD refusal = ::GetLastError();
  if (refusal == ERROR_DISK_FULL || refusal == ERROR_HANDLE_DISK_FULL) {
    return FailWith(kErrDiskFull);
  }
  // A file system that takes no allocation size: the file grows, and shrinks back on a refusal.
  if (MoveEndOfFile(handle, length)) return true;
  KeepLastError keep;
  MoveEndOfFile(handle, static_cast<uint64_t>(size.QuadPart));
  return false;
}

bool SetLength(FileHandle file, uint64_t length) {
  if (IsClosed(file)) return false;
  return MoveEndOfFile(ToHandle(file), length);
}

void ReportFileSizeLimitAsError() {
  // Windows has no per-process file-size limit.
}

bool CloseFile(FileHandle file) {
  if (memory::Owns(file)) return memory::Close(file);
  if (IsClosed(file)) return false;
  return ::CloseHandle(ToHandle(file)) != FALSE;
}

bool LastWriteTimeLocal(FileHandle file, SystemTime* time) {
  if (IsClosed(file)) return false;
  if (!time) {
    return FailWith(kErrInvalidParameter);
  }
  FILETIME written;
  FILETIME local;
  SYSTEMTIME fields;
  if (!::GetFileTime(ToHandle(file), nullptr, nullptr, &written) ||
      !::FileTimeToLocalFileTime(&written, &local) || !::FileTimeToSystemTime(&local, &fields)) {
    return false;
  }
  *time = SystemTime{fields.wYear, fields.wMonth,  fields.wDayOfWeek, fields.wDay,
                     fields.wHour, fields.wMinute, fields.wSecond,    fields.wMilliseconds};
  return true;
}

}  // namespace plat
