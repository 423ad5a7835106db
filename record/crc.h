// CRC-CCITT as SCP-ECG uses it: polynomial 0x1021, start 0xFFFF, no reflection,
// no final XOR; stored low byte first.
#pragma once

#include <cstdint>

#include "platform/export.h"

class KTX_API CCRC {
 public:
  CCRC() = default;
  virtual ~CCRC() = default;

  void Reset() { Register = 0xFFFF; }
  void Add(const uint8_t* bytes, uint32_t count);
  uint16_t Value() const { return Register; }

 private:
  uint16_t Register = 0xFFFF;
};
