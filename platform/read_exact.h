// Reading a fixed number of bytes, where a short read is a failure.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace plat {

// Reads exactly `count` bytes at the current position. Closed handle or null buffer:
// 87; a read that comes back short: 13 (the record is shorter than it claims).
bool ReadExact(FileHandle file, void* buffer, uint32_t count);

}  // namespace plat
