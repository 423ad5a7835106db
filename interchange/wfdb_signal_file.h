// The sample formats of WFDB signal files: 16 (16-bit little-endian), 212 (two 12-bit
// samples in three bytes) and 80 (8-bit offset binary), signals interleaved frame by frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

bool IsReadableWfdbFormat(int format);
// The value a format keeps for "no valid sample" (its most negative number).
int32_t WfdbInvalidSample(int format);
// How many frames of `signals` samples `size` bytes hold.
uint64_t WfdbFramesIn(int format, size_t size, size_t signals);

// Decodes `frames` frames of `signals` interleaved signals from `bytes` (which must
// hold them: WfdbFramesIn) into one vector per signal, in ADC units.
void DecodeWfdbFrames(int format, const uint8_t* bytes, size_t signals, uint64_t frames,
                      std::vector<std::vector<int32_t>>* out);

// The inverse for format 16, the one the export writes: frames of every signal's sample
// in turn. Signals must be equally long.
std::vector<uint8_t> EncodeWfdbFormat16(const std::vector<std::vector<int16_t>>& signals);
