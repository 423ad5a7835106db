// A small SCP-ECG waveform encoder for the decoder tests, written from the encoding
// rules (codes as bit strings, differences, subtraction, decimation) and sharing no
// code with the decoder.
#pragma once

#include <cstdint>
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

// The default table of the SCP-ECG standard, written out code by code.
TestTable StandardDefaultTable();

// Encodes the values with `tables`, starting in table 1: a value code of the current
// table, else a switch to a table with a value code, else an escape (after a switch
// when the current table has none for the value). Pads the last byte with 0 bits.
Bytes HuffmanEncode(const std::vector<TestTable>& tables, const std::vector<int16_t>& values);

// The Section 2 body for `tables` (or 19999 alone for the default table).
Bytes Section2Body(const std::vector<TestTable>& tables);
Bytes Section2DefaultBody();

std::vector<int16_t> Differences(const std::vector<int16_t>& samples, int order);

// Section 5 or 6: the six header bytes, then each lead's stored bytes.
Bytes SampleBody(uint16_t avm, uint16_t interval, uint8_t difference, uint8_t bimodal,
                 const std::vector<Bytes>& leads);
Bytes Words(const std::vector<int16_t>& samples);

struct TestZone {
  uint32_t SubtractStart, Fiducial, SubtractEnd, ProtectStart, ProtectEnd;
};
Bytes Section4Body(uint16_t medianMs, uint16_t medianFiducial, const std::vector<TestZone>& zones);

// Bimodal decimation: protected samples kept, every other run of at most `ratio`
// unprotected samples replaced by its mean, rounded half away from zero.
std::vector<int16_t> Decimate(const std::vector<int16_t>& samples,
                              const std::vector<TestZone>& zones, unsigned ratio);

}  // namespace test
