#include "encoders.h"

#include <algorithm>

namespace acqtest {

namespace {

uint8_t Bcd(int value) {
  return static_cast<uint8_t>((value / 10) * 16 + value % 10);
}

void Put16(Bytes& out, size_t at, int value) {
  test::PutU16(out, at, static_cast<uint16_t>(value));
}

}  // namespace

Bytes OneLeadRecord(int value, int status) {
  // value = (b0 AND 0xFC) * 8 + bits 2-6 of b1; b0 bit 7 and b1 bit 7 clear make sync.
  const uint8_t b0 = static_cast<uint8_t>(((value / 32) * 4) | 0x80);
  const uint8_t b1 = static_cast<uint8_t>(((value % 32) << 2) | status);
  return {b0, b1};
}

void AppendPair(Bytes& out, int first, int second) {
  const unsigned a = static_cast<unsigned>(first + 2048);
  const unsigned b = static_cast<unsigned>(second + 2048);
  out.push_back(static_cast<uint8_t>(a >> 4));
  out.push_back(static_cast<uint8_t>(((a & 0x0F) << 4) | (b >> 8)));
  out.push_back(static_cast<uint8_t>(b & 0xFF));
}

Bytes PairRecord(const std::vector<int>& samples, bool goodChecksum) {
  Bytes out;
  for (size_t i = 0; i + 1 < samples.size(); i += 2) AppendPair(out, samples[i], samples[i + 1]);
  unsigned sum = 0;
  for (uint8_t b : out) sum += b;
  out.push_back(static_cast<uint8_t>((sum + (goodChecksum ? 0 : 1)) % 256));
  return out;
}

Bytes Stream16(const std::vector<int>& samples) {
  Bytes out;
  for (int s : samples) test::AppendU16(out, static_cast<uint16_t>(s));
  return out;
}

Bytes Concat(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Bio2(const BioHeader& h) {
  Bytes b(18, 0);
  Put16(b, 0, h.Interval);
  Put16(b, 2, h.SerialLow);
  b[4] = h.Hardware;
  b[5] = h.Software;
  b[6] = h.Device;
  b[7] = Bcd(h.Day);
  b[8] = Bcd(h.Month);
  b[9] = Bcd(h.Year % 100);
  b[10] = Bcd(h.Hour);
  b[11] = Bcd(h.Minute);
  b[12] = h.LeadNumber;
  b[13] = h.Gain;
  b[14] = h.Status;
  Put16(b, 15, h.Samples);
  b[17] = h.SerialHigh;
  return b;
}

Bytes Bio3(const BioHeader& h) {
  Bytes b = Bio2(h);
  b.resize(35, 0);
  Put16(b, 17, h.Interval2);
  b[19] = h.LeadsByte;
  for (int i = 0; i < 12; ++i) b[20 + i] = static_cast<uint8_t>(0xA0 + i);
  Put16(b, 32, h.LongSamples);
  b[34] = h.SerialHigh;
  return b;
}

Bytes BioExt(const BioHeader& h) {
  Bytes b(7, 0);
  Put16(b, 0, h.SerialLow);
  b[2] = h.SerialHigh;
  b[3] = h.Hardware;
  b[4] = h.Software;
  Put16(b, 5, h.Resolution);
  return b;
}

Bytes Bio20(const BioHeader& h) {
  Bytes b(281, 0);
  b[0] = h.Filters;
  Put16(b, 1, h.Interval);
  Put16(b, 3, h.Resolution);
  for (size_t i = 0; i < h.Identification.size() && i < 256; ++i) {
    b[5 + i] = static_cast<uint8_t>(h.Identification[i]);
  }
  b[261] = h.Hardware;
  b[262] = h.Software;
  b[263] = static_cast<uint8_t>(h.Day);
  b[264] = static_cast<uint8_t>(h.Month);
  Put16(b, 265, h.Year);
  b[267] = static_cast<uint8_t>(h.Hour);
  b[268] = static_cast<uint8_t>(h.Minute);
  b[269] = static_cast<uint8_t>(h.Second);
  Put16(b, 275, h.Samples);
  b[279] = h.SingleLead;
  b[280] = h.LeadCount;
  return b;
}

Bytes Bio30(const BioHeader& h) {
  Bytes b(14, 0);
  b[0] = h.SerialHigh;
  Put16(b, 1, h.SerialLow);
  b[3] = h.Hardware;
  b[4] = h.Software;
  b[6] = h.Mains;
  Put16(b, 7, h.Resolution);
  Put16(b, 9, h.Interval);
  b[11] = h.SampleBits;
  b[12] = h.LeadCount;
  b[13] = h.EventCount;
  return b;
}

Bytes BioEvent(uint16_t samples, int day, int month, int twoDigitYear, int hour, int minute,
               uint8_t valid) {
  Bytes b(15, 0);
  Put16(b, 1, samples);
  b[5] = valid;
  b[10] = static_cast<uint8_t>(day);
  b[11] = static_cast<uint8_t>(month);
  b[12] = static_cast<uint8_t>(twoDigitYear);
  b[13] = static_cast<uint8_t>(hour);
  b[14] = static_cast<uint8_t>(minute);
  return b;
}

BioFile& BioFile::Block(uint8_t type, const Bytes& payload, int length) {
  test::AppendU16(blocks_, static_cast<uint16_t>(length < 0 ? payload.size() : length));
  blocks_.push_back(type);
  blocks_.insert(blocks_.end(), payload.begin(), payload.end());
  ++count_;
  return *this;
}

BioFile& BioFile::Count(int blocks) {
  countOverride_ = blocks;
  return *this;
}

Bytes BioFile::Build() const {
  // Built whole rather than grown from one byte: g++ 12 at -O3 misreads the insert into a
  // one-byte vector as an overflow (-Warray-bounds).
  Bytes out(1 + blocks_.size());
  out[0] = static_cast<uint8_t>(countOverride_ >= 0 ? countOverride_ : count_);
  std::copy(blocks_.begin(), blocks_.end(), out.begin() + 1);
  return out;
}

}  // namespace acqtest
