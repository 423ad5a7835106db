// Builds every acquisition input format from sample values and header fields,
// byte by byte from the format descriptions, independently of the decoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace acqtest {

using test::Bytes;

// Raw 12-lead one-lead record: `value` 1024-2047, or status 1-3 (a marker) with value 1024.
Bytes OneLeadRecord(int value, int status = 0);
// Two 12-bit samples (-2048 to 2047) in three bytes.
void AppendPair(Bytes& out, int first, int second);
// A two- or eight-lead record: the samples in pairs and the checksum byte (wrong
// when `goodChecksum` is false).
Bytes PairRecord(const std::vector<int>& samples, bool goodChecksum = true);

Bytes Stream16(const std::vector<int>& samples);  // little-endian 16-bit values
Bytes Concat(const std::vector<Bytes>& parts);

// Values of every Bio header and event block; each encoder takes the ones its block carries.
struct BioHeader {
  uint16_t Interval = 2000, SerialLow = 0x0203, Samples = 4;
  uint8_t SerialHigh = 0x01, Hardware = 23, Software = 10;
  uint8_t Device = 0x31;  // type 1, first device flag
  int Year = 2021, Month = 12, Day = 31, Hour = 23, Minute = 59, Second = 58;
  uint8_t LeadNumber = 3, Gain = 200, Status = 0x5A;
  uint16_t Interval2 = 0, LongSamples = 0, Resolution = 2500;
  uint8_t LeadsByte = 0;  // type 3 byte 19
  uint8_t Filters = 0;
  std::string Identification = "ID-7";
  uint8_t SingleLead = 255, LeadCount = 1, Mains = 1, SampleBits = 12, EventCount = 1;
};

Bytes Bio2(const BioHeader& h);    // 18 bytes
Bytes Bio3(const BioHeader& h);    // 35 bytes
Bytes BioExt(const BioHeader& h);  // 7 bytes
Bytes Bio20(const BioHeader& h);   // 281 bytes
Bytes Bio30(const BioHeader& h);   // 14 bytes
// Event block (type 31) payload of 15 bytes; `valid` is byte 5.
Bytes BioEvent(uint16_t samples, int day, int month, int twoDigitYear, int hour, int minute,
               uint8_t valid = 1);

// A Bio file: the block count byte and the blocks, each with its payload length
// (the payload's size unless given) and type.
class BioFile {
 public:
  BioFile& Block(uint8_t type, const Bytes& payload, int length = -1);
  BioFile& Count(int blocks);  // overrides the block count byte
  Bytes Build() const;

 private:
  Bytes blocks_;
  int count_ = 0;
  int countOverride_ = -1;
};

}  // namespace acqtest
