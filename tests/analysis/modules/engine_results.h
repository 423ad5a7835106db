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
#include "support/waveform_builder.h"

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

// The reference beats the engine writes, lead `code`'s of its own length 4 + code % 3.
inline test::Bytes MedianBody(const std::vector<uint8_t>& codes) {
  std::vector<std::vector<int16_t>> beats;
  for (uint8_t code : codes) {
    beats.emplace_back(4u + code % 3u);
    for (size_t i = 0; i < beats.back().size(); ++i) {
      beats.back()[i] = static_cast<int16_t>(code * 100 + i);
    }
  }
  return test::SampleDataBody(2500, 4000, beats);
}

// Section 10 of `size`-byte records of the leads `codes`: in record n of lead `code`,
// value n = 100 code + n.
inline test::Bytes MeasurementsBody(const std::vector<uint16_t>& codes, uint16_t size) {
  test::Bytes body;
  test::AppendU16(body, static_cast<uint16_t>(codes.size()));
  test::AppendU16(body, size);
  for (uint16_t code : codes) {
    const size_t start = body.size();
    test::AppendU16(body, code);
    test::AppendU16(body, size);
    for (uint16_t n = 2; body.size() - start < size; ++n) {
      test::AppendU16(body, static_cast<uint16_t>(100 * code + n));
    }
    body.resize(start + size);
  }
  return body;
}

}  // namespace test_engine
