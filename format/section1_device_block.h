// Section 1 tag 14, the acquiring device: the layout of its fixed block, which the
// program revision and the serial number texts follow.
#pragma once

#include <cstdint>

namespace ktx::section1::device {

constexpr uint32_t kBlockBytes = 36;
constexpr uint32_t kDeviceIdOffset = 4;         // 16 bits
constexpr uint32_t kModelOffset = 8;            // the model description, up to byte 13
constexpr uint32_t kAddressOffset = 19;         // the analysing program's address text
constexpr uint32_t kRevisionLengthOffset = 35;  // length of the revision text that follows

}  // namespace ktx::section1::device
