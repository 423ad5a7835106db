// What the test engine writes into a working copy, for the engine itself and for the
// tests that check what reaches the analysed file. The engine is steered by a sidecar
// file beside the working copy: its first word is the mode ("ok", "long", "damage",
// "no-lead-I-measure" or a result number), an optional second line
// holds the 30 characters of Section 9.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace test_engine {

constexpr const char* kSidecar = "ktx-test-engine.txt";
// Written by the engine: "mode M leads C1,C2,..." of the working copy it saw.
constexpr const char* kSeen = "ktx-test-engine.seen";

// Rhythm 10, 10, 30; morphology 10, 20, 42 and four empty records.
constexpr const char* kDefaultCodes = " 10 10 30 10 20 42            ";

inline test::Bytes Section4Body() {
  return {4, 0, 1, 0, 0x10, 0x20, 0x30, 0x40};
}

inline test::Bytes Section7Body() {
  test::Bytes body = {1, 0};
  for (int value : {800, 810, 20, 120, 160, 240, 480, 60, 45, 30}) {
    test::AppendU16(body, static_cast<uint16_t>(value));
  }
  return body;
}

// The reference beat the engine writes for lead `code`: its own length, 4 + code % 3.
inline std::vector<int16_t> MedianBeat(uint8_t code) {
  std::vector<int16_t> beat(4u + code % 3u);
  for (size_t i = 0; i < beat.size(); ++i) beat[i] = static_cast<int16_t>(code * 100 + i);
  return beat;
}
constexpr uint16_t kMedianAvm = 2500;
constexpr uint16_t kMedianInterval = 4000;

// The measurement record of lead `code`, `size` bytes: code, length field `size`, then
// value n = 100 code + n.
inline test::Bytes MeasurementRecord(uint16_t code, uint16_t size) {
  test::Bytes record;
  test::AppendU16(record, code);
  test::AppendU16(record, size);
  for (uint16_t n = 2; record.size() < size; ++n) {
    test::AppendU16(record, static_cast<uint16_t>(100 * code + n));
  }
  record.resize(size);
  return record;
}

}  // namespace test_engine
