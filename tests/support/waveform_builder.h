// Bodies of the waveform and measurement sections (3, 5/6, 7, 9, 10), built from the
// SCP-ECG section layouts byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace test {

struct LeadSpec {
  uint32_t Start;
  uint32_t End;
  uint8_t Code;
};

// Section 3: lead count, flags, then 9 bytes per lead.
Bytes Section3Body(uint8_t flags, const std::vector<LeadSpec>& leads);

// Sections 5 and 6: AVM, interval, two zero bytes, per-lead byte lengths, samples.
// A lead's byte length is twice its sample count unless `byteLengths` gives it.
Bytes SampleDataBody(uint16_t avm, uint16_t interval,
                     const std::vector<std::vector<int16_t>>& leads,
                     const std::vector<uint16_t>& byteLengths = {});

// Section 7: the 6 header bytes, then `values` as 16-bit words.
Bytes Section7Body(uint8_t qrsTypes, uint8_t spikes, uint16_t rr, uint16_t pp,
                   const std::vector<int16_t>& values);

// Section 9: the records as text (normally 30 characters, 10 records of 3).
Bytes Section9Body(const std::string& records);

// Section 10: count and record size, then the records as given.
Bytes Section10Body(uint16_t count, uint16_t recordSize, const std::vector<Bytes>& records);

// A Section 10 record of `size` bytes: lead code, then 16-bit words 1, 2, 3... of
// value base + n at word n, cut or zero-padded to `size`.
Bytes MeasurementRecord(uint16_t code, uint16_t base, size_t size);

}  // namespace test
