// Files: the few operations the core needs, with Win32 semantics on every platform.
// Every failing call returns false (or kClosedFile) and leaves a Win32 error code.
//
// Share modes hold on every platform: a file open for reading may be opened for reading
// again but not for writing, and a file open for writing not at all. An open that meets a
// conflicting one waits up to two seconds for it to close, then fails with 32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/export.h"
#include "platform/time.h"

namespace plat {

// Integer-sized handle; the closed state has all bits set (as INVALID_HANDLE_VALUE).
using FileHandle = std::uintptr_t;
constexpr FileHandle kClosedFile = ~FileHandle{0};

enum class SeekFrom { Begin, Current, End };

// Opens an existing file for reading, shared for reading, with the random-access hint.
KTX_API FileHandle OpenForRead(const char* name);
// Opens for reading and writing, not shared, creating the file when it is missing; an
// existing file keeps its bytes until they are overwritten.
KTX_API FileHandle OpenReadWrite(const char* name);
// Creates the file for writing, not shared, truncating an existing one.
KTX_API FileHandle CreateAlways(const char* name);

// Reads or writes up to count bytes; *done receives what was transferred. A short
// read at the end of the file is a success with *done < count.
KTX_API bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done);
KTX_API bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* done);

// Moves the file position; *position (optional) receives the new absolute offset.
KTX_API bool Seek(FileHandle file, int64_t offset, SeekFrom from, uint64_t* position = nullptr);
KTX_API bool FileSize(FileHandle file, uint64_t* size);
KTX_API bool Flush(FileHandle file);
// Makes sure the file can hold `length` bytes before any of its bytes is overwritten.
// A refusal (112 disk full or quota, 223 past the file-size limit) leaves it as it was.
KTX_API bool ReserveLength(FileHandle file, uint64_t length);
// Cuts (or extends) the file to `length` bytes; the position stays where it was.
KTX_API bool SetLength(FileHandle file, uint64_t length);
KTX_API bool CloseFile(FileHandle file);

// The file's last-write time converted to local time.
KTX_API bool LastWriteTimeLocal(FileHandle file, SystemTime* time);

// Copies over an existing destination.
KTX_API bool CopyFileOver(const char* from, const char* to);
KTX_API bool RemoveFile(const char* name);

// Creates a new, empty file with a unique name "<folder>/<prefix>XXXX.tmp" and gives its path.
KTX_API bool CreateTempFile(const char* folder, const char* prefix, std::string* path);

// Replacing a file whole: `from` takes the place of `to` in one step that readers and a
// power cut see either before or after, and that is on the disk when the call returns.
// Both names must be in the same folder.
KTX_API bool RenameOver(const char* from, const char* to);
// Gives `to` the access permissions of `from` (and its owner, where that is allowed).
KTX_API bool CopyPermissions(const char* from, const char* to);
// The name of the file itself when `name` is a link to it; `name` when it is none or
// does not exist yet.
KTX_API bool ResolveLinks(const char* name, std::string* resolved);

// Working files that live only while a process uses them. The holder keeps the handle
// HoldFile gives (reading and rewriting the file stay open to everyone) and closes it
// with CloseFile; RemoveUnheldFile deletes the file only when nobody holds it (32 when
// someone does), so a file left by a process that died can be told from a live one.
// POSIX holds with a lock the share modes never meet; Windows with a hidden companion
// "<name>.held" that lives as long as the hold's handle.
KTX_API FileHandle HoldFile(const char* name);
KTX_API bool RemoveUnheldFile(const char* name);
// The files in `folder` whose names start with `prefix` and end with `suffix`, as paths.
KTX_API bool ListFiles(const char* folder, const char* prefix, const char* suffix,
                       std::vector<std::string>* paths);
// CreateTempFile and HoldFile in one: the new file's path and its hold. The temporary
// files of the same prefix in `folder` that nobody holds are removed first.
KTX_API bool CreateHeldTempFile(const char* folder, const char* prefix, std::string* path,
                                FileHandle* hold);

// Lets a write past the process's file-size limit fail with 223 instead of ending the
// process; for programs, never called by the library itself.
KTX_API void ReportFileSizeLimitAsError();

}  // namespace plat
