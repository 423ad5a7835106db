// Read-only files over bytes in memory: a record held in memory is read by the same
// code as one on disk. ReadFile, Seek, FileSize and CloseFile take such a handle as
// they take a file's; the other file calls refuse it as an invalid handle (6).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"

namespace plat {

// A handle over the `size` bytes at `bytes` (null for none), which must stay as they
// are until CloseFile. kClosedFile with 87 for null bytes of a size, 84 when 4096 are
// open already.
KTX_API FileHandle OpenMemoryFile(const void* bytes, size_t size);

// What the backends' file calls hand on for memory handles; Owns tells them apart
// from the system's handles by value alone.
namespace memory {
bool Owns(FileHandle file);
bool Read(FileHandle file, void* buffer, uint32_t count, uint32_t* done);
bool Seek(FileHandle file, int64_t offset, SeekFrom from, uint64_t* position);
bool Size(FileHandle file, uint64_t* size);
bool Close(FileHandle file);
}  // namespace memory

}  // namespace plat
