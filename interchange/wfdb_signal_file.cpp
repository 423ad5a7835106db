#include "interchange/wfdb_signal_file.h"

namespace {

// Sample i of the interleaved stream.
int32_t Sample(int format, const uint8_t* bytes, uint64_t i) {
  switch (format) {
    case 16:
      return static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    case 80:
      return static_cast<int32_t>(bytes[i]) - 128;
    default: {  // 212: a pair in three bytes, the second byte's nibbles the high bits
      const uint8_t* pair = bytes + 3 * (i / 2);
      const int32_t value =
          (i % 2 == 0) ? (pair[0] | (pair[1] & 0x0F) << 8) : (pair[2] | (pair[1] & 0xF0) << 4);
      return value >= 2048 ? value - 4096 : value;
    }
  }
}

}  // namespace

bool IsReadableWfdbFormat(int format) {
  return format == 16 || format == 212 || format == 80;
}

int32_t WfdbInvalidSample(int format) {
  return format == 212 ? -2048 : format == 80 ? -128 : -32768;
}

uint64_t WfdbFramesIn(int format, size_t size, size_t signals) {
  if (signals == 0) return 0;
  uint64_t samples = size;
  if (format == 16) samples = size / 2;
  if (format == 212) samples = size / 3 * 2 + (size % 3 == 2 ? 1 : 0);
  return samples / signals;
}

void DecodeWfdbFrames(int format, const uint8_t* bytes, size_t signals, uint64_t frames,
                      std::vector<std::vector<int32_t>>* out) {
  out->assign(signals, std::vector<int32_t>(frames));
  uint64_t i = 0;
  for (uint64_t frame = 0; frame < frames; ++frame) {
    for (size_t signal = 0; signal < signals; ++signal, ++i) {
      (*out)[signal][frame] = Sample(format, bytes, i);
    }
  }
}

std::vector<uint8_t> EncodeWfdbFormat16(const std::vector<std::vector<int16_t>>& signals) {
  const size_t frames = signals.empty() ? 0 : signals.front().size();
  std::vector<uint8_t> bytes;
  bytes.reserve(frames * signals.size() * 2);
  for (size_t frame = 0; frame < frames; ++frame) {
    for (const auto& signal : signals) {
      const auto value = static_cast<uint16_t>(signal[frame]);
      bytes.push_back(static_cast<uint8_t>(value));
      bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
  }
  return bytes;
}
