#include "encoders.h"

#include <algorithm>

namespace acqtest {

namespace {

int Bcd(int value) {
  return (value / 10) * 16 + value % 10;
}

// Writes offset, value pairs into `b`: single bytes, or 16-bit values low byte first.
Bytes Put(Bytes b, std::initializer_list<int> bytes, std::initializer_list<int> words = {}) {
  for (auto at = bytes.begin(); at != bytes.end(); at += 2) {
    b[static_cast<size_t>(*at)] = static_cast<uint8_t>(at[1]);
  }
  for (auto at = words.begin(); at != words.end(); at += 2) {
    test::PutU16(b, static_cast<size_t>(*at), static_cast<uint16_t>(at[1]));
  }
  return b;
}

}  // namespace

Bytes OneLeadRecord(int value, int status) {
  // value = (b0 AND 0xFC) * 8 + bits 2-6 of b1; b0 bit 7 and b1 bit 7 clear make sync.
  return {static_cast<uint8_t>(((value / 32) * 4) | 0x80),
          static_cast<uint8_t>(((value % 32) << 2) | status)};
}

void AppendPair(Bytes& out, int first, int second) {
  const unsigned a = static_cast<unsigned>(first + 2048);
  const unsigned b = static_cast<unsigned>(second + 2048);
  out.insert(out.end(),
             {static_cast<uint8_t>(a >> 4), static_cast<uint8_t>(((a & 0x0F) << 4) | (b >> 8)),
              static_cast<uint8_t>(b & 0xFF)});
}

Bytes PairRecord(const std::vector<int>& samples, bool goodChecksum) {
  Bytes out;
  for (size_t i = 0; i + 1 < samples.size(); i += 2) AppendPair(out, samples[i], samples[i + 1]);
  unsigned sum = goodChecksum ? 0 : 1;
  for (uint8_t b : out) sum += b;
  out.push_back(static_cast<uint8_t>(sum % 256));
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
  return Put(Bytes(18), {4,  h.Hardware,  5,  h.Software,    6,  h.Device,
                         7,  Bcd(h.Day),  8,  Bcd(h.Month),  9,  Bcd(h.Year % 100),
                         10, Bcd(h.Hour), 11, Bcd(h.Minute), 12, h.LeadNumber,
                         13, h.Gain,      14, h.Status,      17, h.SerialHigh},
             {0, h.Interval, 2, h.SerialLow, 15, h.Samples});
}

Bytes Bio3(const BioHeader& h) {
  Bytes b = Bio2(h);
  b.resize(35, 0);
  for (int i = 0; i < 12; ++i) b[20 + static_cast<size_t>(i)] = static_cast<uint8_t>(0xA0 + i);
  return Put(b, {19, h.LeadsByte, 34, h.SerialHigh}, {17, h.Interval2, 32, h.LongSamples});
}

Bytes BioExt(const BioHeader& h) {
  return Put(Bytes(7), {2, h.SerialHigh, 3, h.Hardware, 4, h.Software},
             {0, h.SerialLow, 5, h.Resolution});
}

Bytes Bio20(const BioHeader& h) {
  Bytes b = Put(Bytes(281), {0,     h.Filters, 261,     h.Hardware,   262,    h.Software, 263,
                             h.Day, 264,       h.Month, 267,          h.Hour, 268,        h.Minute,
                             269,   h.Second,  279,     h.SingleLead, 280,    h.LeadCount},
                {1, h.Interval, 3, h.Resolution, 265, h.Year, 275, h.Samples});
  std::copy_n(h.Identification.begin(), std::min<size_t>(h.Identification.size(), 256),
              b.begin() + 5);
  return b;
}

Bytes Bio30(const BioHeader& h) {
  return Put(Bytes(14),
             {0, h.SerialHigh, 3, h.Hardware, 4, h.Software, 6, h.Mains, 11, h.SampleBits, 12,
              h.LeadCount, 13, h.EventCount},
             {1, h.SerialLow, 7, h.Resolution, 9, h.Interval});
}

Bytes BioEvent(uint16_t samples, int day, int month, int twoDigitYear, int hour, int minute,
               uint8_t valid) {
  return Put(Bytes(15), {5, valid, 10, day, 11, month, 12, twoDigitYear, 13, hour, 14, minute},
             {1, samples});
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
