#include "decoder/stream_encoder.h"

#include <cmath>
#include <stdexcept>

namespace test {

TestTable StandardDefaultTable() {
  return {{"0", 0},           {"100", 1},           {"101", -1},          {"1100", 2},
          {"1101", -2},       {"11100", 3},         {"11101", -3},        {"111100", 4},
          {"111101", -4},     {"1111100", 5},       {"1111101", -5},      {"11111100", 6},
          {"11111101", -6},   {"111111100", 7},     {"111111101", -7},    {"1111111100", 8},
          {"1111111101", -8}, {"1111111110", 0, 8}, {"1111111111", 0, 16}};
}

namespace {

class BitWriter {
 public:
  void Put(const std::string& bits) {
    for (char bit : bits) Put(bit == '1');
  }
  void Put(bool bit) {
    if (count_ % 8 == 0) bytes_.push_back(0);
    if (bit) bytes_.back() = static_cast<uint8_t>(bytes_.back() | 0x80 >> (count_ % 8));
    ++count_;
  }
  void PutRaw(int value, int bits) {
    for (int i = bits - 1; i >= 0; --i) Put(((static_cast<unsigned>(value) >> i) & 1u) != 0);
  }
  Bytes Take() { return bytes_; }

 private:
  Bytes bytes_;
  size_t count_ = 0;
};

const TestCode* ValueCode(const TestTable& table, int value) {
  for (const TestCode& code : table) {
    if (code.SwitchTo == 0 && code.RawBits == 0 && code.Value == value) return &code;
  }
  return nullptr;
}

const TestCode* Escape(const TestTable& table, int value) {
  for (const TestCode& code : table) {
    if (code.RawBits == 0 || code.SwitchTo != 0) continue;
    const int limit = 1 << (code.RawBits - 1);
    if (value >= -limit && value < limit) return &code;
  }
  return nullptr;
}

}  // namespace

Bytes HuffmanEncode(const std::vector<TestTable>& tables, const std::vector<int16_t>& values) {
  BitWriter out;
  size_t current = 0;
  for (int16_t value : values) {
    if (const TestCode* code = ValueCode(tables[current], value)) {
      out.Put(code->Bits);
      continue;
    }
    bool switched = false;
    for (const TestCode& code : tables[current]) {
      if (code.SwitchTo == 0) continue;
      const size_t target = static_cast<size_t>(code.SwitchTo) - 1;
      if (const TestCode* there = ValueCode(tables[target], value)) {
        out.Put(code.Bits);
        out.Put(there->Bits);
        current = target;
        switched = true;
        break;
      }
    }
    if (switched) continue;
    // No table has a code for it: escape, after switching to a table that can.
    if (Escape(tables[current], value) == nullptr) {
      for (const TestCode& code : tables[current]) {
        if (code.SwitchTo == 0) continue;
        const size_t target = static_cast<size_t>(code.SwitchTo) - 1;
        if (Escape(tables[target], value) != nullptr) {
          out.Put(code.Bits);
          current = target;
          break;
        }
      }
    }
    const TestCode* escape = Escape(tables[current], value);
    if (escape == nullptr) throw std::logic_error("value has no code");
    out.Put(escape->Bits);
    out.PutRaw(value, escape->RawBits);
  }
  return out.Take();
}

Bytes Section2Body(const std::vector<TestTable>& tables) {
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
      for (size_t i = 0; i < code.Bits.size(); ++i) {
        if (code.Bits[i] == '1') reversed |= 1u << i;
      }
      AppendU32(body, reversed);
    }
  }
  return body;
}

Bytes Section2DefaultBody() {
  Bytes body;
  AppendU16(body, 19999);
  return body;
}

std::vector<int16_t> Differences(const std::vector<int16_t>& x, int order) {
  std::vector<int16_t> d(x);
  if (order == 0) return d;
  for (size_t i = static_cast<size_t>(order); i < x.size(); ++i) {
    const int value = order == 1 ? x[i] - x[i - 1] : x[i] - 2 * x[i - 1] + x[i - 2];
    d[i] = static_cast<int16_t>(value);
  }
  return d;
}

Bytes Section3Body(const std::vector<TestLead>& leads, uint8_t flags) {
  Bytes body{static_cast<uint8_t>(leads.size()), flags};
  for (const TestLead& lead : leads) {
    AppendU32(body, lead.Start);
    AppendU32(body, lead.End);
    body.push_back(lead.Code);
  }
  return body;
}

Bytes SampleBody(uint16_t avm, uint16_t interval, uint8_t difference, uint8_t bimodal,
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

Bytes Words(const std::vector<int16_t>& samples) {
  Bytes bytes;
  for (int16_t sample : samples) AppendU16(bytes, static_cast<uint16_t>(sample));
  return bytes;
}

Bytes Section4Body(uint16_t medianMs, uint16_t medianFiducial, const std::vector<TestZone>& zones) {
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

std::vector<int16_t> Decimate(const std::vector<int16_t>& samples,
                              const std::vector<TestZone>& zones, unsigned ratio) {
  auto isProtected = [&zones](size_t oneBased) {
    for (const TestZone& zone : zones) {
      if (oneBased >= zone.ProtectStart && oneBased <= zone.ProtectEnd) return true;
    }
    return false;
  };
  std::vector<int16_t> kept;
  size_t s = 0;
  while (s < samples.size()) {
    if (isProtected(s + 1)) {
      kept.push_back(samples[s++]);
      continue;
    }
    double sum = 0;
    unsigned n = 0;
    while (s < samples.size() && !isProtected(s + 1) && n < ratio) {
      sum += samples[s++];
      ++n;
    }
    kept.push_back(static_cast<int16_t>(std::lround(sum / n)));
  }
  return kept;
}

}  // namespace test
