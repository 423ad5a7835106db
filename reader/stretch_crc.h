// Checking the CRC of one stretch of a record (the record itself or one section).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"

// The stretch [start, start + length) holds its CRC, low byte first, in its first two
// bytes and covers the rest. True when the check could be made; *valid tells the
// verdict. A stretch shorter than 2 bytes is refused with 13; a read that fails or
// comes back short fails with the error it left.
KTX_API bool CheckStretchCrc(plat::FileHandle file, int64_t start, uint32_t length, bool* valid);
