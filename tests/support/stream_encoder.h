// A small SCP-ECG waveform encoder for the decoder tests, written from the encoding
// rules (codes as bit strings, differences, subtraction, decimation) and sharing no
// code with the decoder.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace test {

// One code: its bits as written in the stream ("1101"), then either a value, an
// original-value escape of `rawBits` bits, or a switch to table `switchTo` (1-based).
struct TestCode {
  std::string Bits;
  int Value = 0;
  int RawBits = 0;
  int SwitchTo = 0;
};
using TestTable = std::vector<TestCode>;

struct TestZone {
  uint32_t SubtractStart, Fiducial, SubtractEnd, ProtectStart, ProtectEnd;
};

// The format's default table, written out code by code.
inline TestTable StandardDefaultTable() {
  return {{"0", 0},           {"100", 1},           {"101", -1},          {"1100", 2},
          {"1101", -2},       {"11100", 3},         {"11101", -3},        {"111100", 4},
          {"111101", -4},     {"1111100", 5},       {"1111101", -5},      {"11111100", 6},
          {"11111101", -6},   {"111111100", 7},     {"111111101", -7},    {"1111111100", 8},
          {"1111111101", -8}, {"1111111110", 0, 8}, {"1111111111", 0, 16}};
}

struct BitWriter {
  void Put(const std::string& bits) {
    for (char bit : bits) {
      if (count % 8 == 0) bytes.push_back(0);
      if (bit == '1') bytes.back() = static_cast<uint8_t>(bytes.back() | 0x80 >> (count % 8));
      ++count;
    }
  }
  void PutRaw(int value, int bits) {
    for (int i = bits - 1; i >= 0; --i) Put(((static_cast<unsigned>(value) >> i) & 1u) ? "1" : "0");
  }
  Bytes bytes;
  size_t count = 0;
};

inline const TestCode* ValueCode(const TestTable& table, int value) {
  for (const TestCode& code : table) {
    if (code.SwitchTo == 0 && code.RawBits == 0 && code.Value == value) return &code;
  }
  return nullptr;
}

inline const TestCode* Escape(const TestTable& table, int value) {
  for (const TestCode& code : table) {
    if (code.SwitchTo == 0 && code.RawBits != 0 && value >= -(1 << (code.RawBits - 1)) &&
        value < (1 << (code.RawBits - 1))) {
      return &code;
    }
  }
  return nullptr;
}

// The first switch code of `table` to a table for which `has` finds a code.
template <typename Has>
inline const TestCode* SwitchFor(const std::vector<TestTable>& tables, size_t current, Has has) {
  for (const TestCode& code : tables[current]) {
    if (code.SwitchTo != 0 && has(tables[static_cast<size_t>(code.SwitchTo) - 1])) return &code;
  }
  return nullptr;
}

// Encodes the values with `tables`, starting in table 1: a value code of the current
// table, else a switch to a table with a value code, else an escape (after a switch
// when the current table has none for the value). Pads the last byte with 0 bits.
inline Bytes HuffmanEncode(const std::vector<TestTable>& tables,
                           const std::vector<int16_t>& values) {
  BitWriter out;
  size_t current = 0;
  for (int16_t value : values) {
    const auto hasValue = [value](const TestTable& t) { return ValueCode(t, value) != nullptr; };
    const auto hasEscape = [value](const TestTable& t) { return Escape(t, value) != nullptr; };
    const TestCode* change = nullptr;
    if (!hasValue(tables[current])) {
      change = SwitchFor(tables, current, hasValue);
      if (change == nullptr && !hasEscape(tables[current])) {
        change = SwitchFor(tables, current, hasEscape);
      }
    }
    if (change != nullptr) {
      out.Put(change->Bits);
      current = static_cast<size_t>(change->SwitchTo) - 1;
    }
    if (const TestCode* code = ValueCode(tables[current], value)) {
      out.Put(code->Bits);
    } else if (const TestCode* escape = Escape(tables[current], value)) {
      out.Put(escape->Bits);
      out.PutRaw(value, escape->RawBits);
    } else {
      throw std::logic_error("value has no code");
    }
  }
  return out.bytes;
}

// The Section 2 body for `tables` (or 19999 alone for the default table).
inline Bytes Section2Body(const std::vector<TestTable>& tables) {
  Bytes body;
  AppendU16(body, static_cast<uint16_t>(tables.size()));
  for (const TestTable& table : tables) {
    AppendU16(body, static_cast<uint16_t>(table.size()));
    for (const TestCode& code : table) {
      body.push_back(static_cast<uint8_t>(code.Bits.size()));
      body.push_back(static_cast<uint8_t>(code.Bits.size() + static_cast<size_t>(code.RawBits)));
      body.push_back(code.SwitchTo != 0 ? 0 : 1);
      AppendU16(body, static_cast<uint16_t>(code.SwitchTo != 0 ? code.SwitchTo : code.Value));
      // The stored base code holds the stream's first bit in its lowest bit.
      uint32_t reversed = 0;
      for (size_t i = 0; i < code.Bits.size(); ++i)
        reversed |= (code.Bits[i] == '1' ? 1u : 0u) << i;
      AppendU32(body, reversed);
    }
  }
  return body;
}

inline Bytes Section2DefaultBody() {
  return {0x1F, 0x4E};  // 19999
}

inline std::vector<int16_t> Differences(const std::vector<int16_t>& x, int order) {
  std::vector<int16_t> d(x);
  for (size_t i = static_cast<size_t>(order); order != 0 && i < x.size(); ++i) {
    d[i] = static_cast<int16_t>(order == 1 ? x[i] - x[i - 1] : x[i] - 2 * x[i - 1] + x[i - 2]);
  }
  return d;
}

// Section 5 or 6: the six header bytes, then each lead's stored bytes.
inline Bytes SampleBody(uint16_t avm, uint16_t interval, uint8_t difference, uint8_t bimodal,
                        const std::vector<Bytes>& leads) {
  Bytes body;
  AppendU16(body, avm);
  AppendU16(body, interval);
  body.push_back(difference);
  body.push_back(bimodal);
  for (const Bytes& lead : leads) AppendU16(body, static_cast<uint16_t>(lead.size()));
  for (const Bytes& lead : leads) body.insert(body.end(), lead.begin(), lead.end());
  return body;
}

inline Bytes Words(const std::vector<int16_t>& samples) {
  Bytes bytes;
  for (int16_t sample : samples) AppendU16(bytes, static_cast<uint16_t>(sample));
  return bytes;
}

inline Bytes Section4Body(uint16_t medianMs, uint16_t medianFiducial,
                          const std::vector<TestZone>& zones) {
  Bytes body;
  AppendU16(body, medianMs);
  AppendU16(body, medianFiducial);
  AppendU16(body, static_cast<uint16_t>(zones.size()));
  for (const TestZone& zone : zones) {
    AppendU16(body, 0);
    AppendU32(body, zone.SubtractStart);
    AppendU32(body, zone.Fiducial);
    AppendU32(body, zone.SubtractEnd);
  }
  for (const TestZone& zone : zones) {
    AppendU32(body, zone.ProtectStart);
    AppendU32(body, zone.ProtectEnd);
  }
  return body;
}

// Bimodal decimation: protected samples kept, every other run of at most `ratio`
// unprotected samples replaced by its mean, rounded half away from zero.
inline std::vector<int16_t> Decimate(const std::vector<int16_t>& samples,
                                     const std::vector<TestZone>& zones, unsigned ratio) {
  auto isProtected = [&zones](size_t oneBased) {
    for (const TestZone& zone : zones) {
      if (oneBased >= zone.ProtectStart && oneBased <= zone.ProtectEnd) return true;
    }
    return false;
  };
  std::vector<int16_t> kept;
  for (size_t s = 0; s < samples.size();) {
    if (isProtected(s + 1)) {
      kept.push_back(samples[s++]);
      continue;
    }
    double sum = 0;
    unsigned n = 0;
    for (; s < samples.size() && !isProtected(s + 1) && n < ratio; ++n) sum += samples[s++];
    kept.push_back(static_cast<int16_t>(std::lround(sum / n)));
  }
  return kept;
}

}  // namespace test
