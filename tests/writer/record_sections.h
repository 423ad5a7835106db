// Splits a record into its sections by reading Section 0 by hand, independently of
// the library's reader.
#pragma once

#include <cstdint>
#include <map>

#include "support/record_builder.h"

namespace test {

struct PointerEntry {
  uint16_t Id;
  uint32_t Length;
  uint32_t Index;
};

std::vector<PointerEntry> PointerTable(const Bytes& record);
// Each present section's bytes (header included), by number; the first entry wins.
std::map<uint16_t, Bytes> Sections(const Bytes& record);

}  // namespace test
