// Helpers shared by the POSIX backend's files; not part of the platform API.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/file.h"
#include "platform/time.h"

namespace plat::posix {

// The Win32 number for a call on the file `name` that failed with `err`: ENOENT is 3
// when the folder that should hold the file is missing too, as Windows tells them apart.
uint32_t ErrorForName(int err, const char* name);

// The descriptor behind a handle; false with 6 for the closed handle.
bool Descriptor(FileHandle file, int* fd);

// Broken-down local time and nanoseconds as a SYSTEMTIME.
SystemTime ToSystemTime(const std::tm& local, long nanoseconds);

}  // namespace plat::posix
