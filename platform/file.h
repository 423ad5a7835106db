// Files: the few operations the core needs, with Win32 semantics on every platform.
// Every failing call returns false (or kClosedFile) and leaves a Win32 error code.
#pragma once

#include <cstdint>
#include <string>

#include "platform/export.h"
#include "platform/time.h"

namespace plat {

// Integer-sized handle; the closed state has all bits set (as INVALID_HANDLE_VALUE).
using FileHandle = std::uintptr_t;
constexpr FileHandle kClosedFile = ~FileHandle{0};

enum class SeekFrom { Begin, Current, End };

// Opens an existing file for reading, shared for reading, with the random-access hint.
KTX_API FileHandle OpenForRead(const char* name);
// Opens for reading and writing, not shared, creating the file when it is missing.
KTX_API FileHandle OpenReadWrite(const char* name);
// Creates the file, truncating an existing one, for writing.
KTX_API FileHandle CreateAlways(const char* name);

// Reads or writes up to count bytes; *done receives what was transferred. A short
// read at the end of the file is a success with *done < count.
KTX_API bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done);
KTX_API bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* done);

// Moves the file position; *position (optional) receives the new absolute offset.
KTX_API bool Seek(FileHandle file, int64_t offset, SeekFrom from, uint64_t* position = nullptr);
KTX_API bool FileSize(FileHandle file, uint64_t* size);
KTX_API bool Flush(FileHandle file);
KTX_API bool CloseFile(FileHandle file);

// The file's last-write time converted to local time.
KTX_API bool LastWriteTimeLocal(FileHandle file, SystemTime* time);

// Copies over an existing destination.
KTX_API bool CopyFileOver(const char* from, const char* to);
KTX_API bool RemoveFile(const char* name);

// Creates a new, empty file with a unique name "<folder>/<prefix>XXXX.tmp" and gives its path.
KTX_API bool CreateTempFile(const char* folder, const char* prefix, std::string* path);

}  // namespace plat
