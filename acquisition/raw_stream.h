// Headerless single-lead streams of 8-bit or 16-bit samples: the one design that
// the four 8-bit and 16-bit readers share.
#pragma once

#include <cstdint>

#include "acquisition/event.h"

namespace ktx::acq {

struct StreamFormat {
  uint8_t Width;  // bytes a sample: 1 or 2
  double DefaultRate;
  double DefaultResolution;
};

SLeadObj* ReadStreamFile(SEvent& event, const StreamFormat& format, const char* fileName,
                         SECGInfo* info, bool isUnsigned, double resolution, double samplingRate);
SLeadObj* ReadStreamMemory(SEvent& event, const StreamFormat& format, const uint8_t* buffer,
                           uint32_t size, SECGInfo* info, bool isUnsigned, double resolution,
                           double samplingRate);

// Size of the next block read from a file: `block` halved until it fits in what
// is left of `total` after `done` samples; 0 when nothing is left.
uint32_t NextBlockSize(uint32_t block, uint32_t done, uint32_t total);

}  // namespace ktx::acq
