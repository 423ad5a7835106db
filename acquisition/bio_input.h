// Sequential reading of a Bio file: exact reads, and passing over bytes without
// going beyond the end of the file.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace ktx::acq {

class BioInput {
 public:
  BioInput(plat::FileHandle file, uint64_t size) : file_(file), size_(size) {}

  // Exactly `count` bytes; a short read fails with 13.
  bool Read(void* buffer, uint32_t count);
  // Passes over `count` bytes; bytes that the file does not have fail with 13,
  // as a short read would.
  bool Skip(uint32_t count);
  // Payload length and type of the next block.
  bool ReadBlockHead(uint16_t* length, uint8_t* type);

 private:
  plat::FileHandle file_;
  uint64_t size_;
  uint64_t position_ = 0;
};

}  // namespace ktx::acq
