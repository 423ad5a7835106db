// Bodies of the waveform and measurement sections, byte by byte from the SCP-ECG
// section layouts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/encoded_data.h"
#include "support/record_builder.h"

namespace test {

struct LeadRange {
  uint32_t Start;
  uint32_t End;
  uint8_t Code;
};

// Section 3: lead count, flags, then start, end and code of each lead.
Bytes Section3Body(uint8_t flags, const std::vector<LeadRange>& leads);

// Sections 5 and 6: AVM, interval, two zero bytes, per-lead byte lengths, samples. A
// lead's byte length is twice its sample count unless `byteLengths` gives it.
Bytes SampleDataBody(uint16_t avm, uint16_t interval,
                     const std::vector<std::vector<int16_t>>& leads,
                     const std::vector<uint16_t>& byteLengths = {});

// Section 9: the records as text, 3 characters each.
inline Bytes Section9Body(const std::string& records) {
  return Bytes(records.begin(), records.end());
}

// Section 10: count and record size, then `records` records of `recordSize` bytes:
// record r holds lead code r + 1, then the 16-bit values 100 (r + 1) + n at value n.
Bytes Section10Body(uint16_t count, uint16_t recordSize, uint16_t records);

// The samples a record holds for lead `lead`.
inline std::vector<int16_t> SamplesOf(const SEncodedData& data, unsigned lead) {
  return std::vector<int16_t>(data.LeadSamples[lead],
                              data.LeadSamples[lead] + data.SampleCounts[lead]);
}

}  // namespace test
