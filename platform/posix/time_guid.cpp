// Random (version 4) GUIDs from libuuid.
#include <uuid/uuid.h>

#include "platform/errors.h"
#include "platform/time.h"

namespace plat {

bool NewGuid(Guid* guid) {
  if (!guid) {
    return FailWith(kErrInvalidParameter);
  }
  uuid_t bytes;
  uuid_generate_random(bytes);
  // The textual byte order: Data1..Data3 big-endian, then Data4 as it stands.
  guid->Data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
  guid->Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  guid->Data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) guid->Data4[i] = bytes[8 + i];
  return true;
}

}  // namespace plat
