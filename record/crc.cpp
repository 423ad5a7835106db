#include "record/crc.h"

#include <array>

namespace {

// T[i]: i * 256 shifted eight times through the polynomial.
constexpr std::array<uint16_t, 256> MakeTable() {
  std::array<uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned value = i << 8;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 0x8000u) ? ((value << 1) ^ 0x1021u) : (value << 1);
    }
    table[i] = static_cast<uint16_t>(value);
  }
  return table;
}

constexpr std::array<uint16_t, 256> kTable = MakeTable();

}  // namespace

void CCRC::Add(const uint8_t* bytes, uint32_t count) {
  uint16_t reg = Register;
  for (uint32_t i = 0; i < count; ++i) {
    reg = static_cast<uint16_t>((reg << 8) ^ kTable[(reg >> 8) ^ bytes[i]]);
  }
  Register = reg;
}
