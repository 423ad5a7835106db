// Section 1 bodies for tests, from the tag layout alone: tag number (1 byte), data
// length (2 bytes, low byte first), data.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "support/record_builder.h"

namespace test {

// One tag with the given data bytes.
Bytes Tag(uint8_t tag, const Bytes& data);
// A text tag: the Windows-1252 bytes of `text` and a terminating NUL.
Bytes TextTag(uint8_t tag, const std::string& windows1252Text);
// The terminating tag 255 with no data.
Bytes EndTag();
// The tags one after another.
Bytes Body(std::initializer_list<Bytes> tags);

}  // namespace test
