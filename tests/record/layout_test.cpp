// The CRC and the entries read from and written to files as blocks, against
// published check values and the file's little-endian bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record/crc.h"
#include "record/encoded_data.h"
#include "record/global_measurements.h"
#include "record/lead_definitions.h"
#include "record/lead_errors.h"
#include "record/lead_measurements.h"
#include "record/section_indexes.h"

namespace {

uint16_t CrcOf(const std::string& text, CCRC crc = CCRC()) {
  crc.Add(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
  return crc.Value();
}

TEST(Crc, PublishedCheckValuesChunksAndStoredValueCheck) {
  EXPECT_EQ(CrcOf("123456789"), 0x29B1);
  EXPECT_EQ(CrcOf("abc"), 0x514A);
  EXPECT_EQ(CrcOf(""), 0xFFFF);
  CCRC crc;
  crc.Add(reinterpret_cast<const uint8_t*>("Z"), 1);
  crc.Reset();
  EXPECT_EQ(crc.Value(), 0xFFFF);
  // Pieces of any size, empty ones included, give the CRC of the whole.
  const std::string text = "SCP-ECG record bytes covered by the checksum";
  crc.Add(reinterpret_cast<const uint8_t*>(text.data()), 5);
  crc.Add(reinterpret_cast<const uint8_t*>(text.data()) + 5, 0);
  EXPECT_EQ(CrcOf(text.substr(5), crc), CrcOf(text));
  // The check value fed high byte first after the covered bytes leaves zero, the way
  // records are verified.
  EXPECT_EQ(CrcOf("123456789\x29\xB1"), 0);
}

template <typename T, size_t N>
bool SameBytes(const T& object, const uint8_t (&expected)[N]) {
  static_assert(sizeof(T) >= N, "compares the leading bytes");
  return std::memcmp(&object, expected, N) == 0;
}

TEST(Layout, EntriesAndHeadersMatchFileBytes) {
  EXPECT_TRUE(SameBytes(SSectionIndex{6, 0x01020304, 7}, {6, 0, 4, 3, 2, 1, 7, 0, 0, 0}));
  EXPECT_TRUE(SameBytes(SLeadDef{1, 5000, 61}, {1, 0, 0, 0, 0x88, 0x13, 0, 0, 0x3D}));
  EXPECT_TRUE(SameBytes(SLeadError{62, 0x0105}, {0x3E, 0x05, 0x01}));
  SLeadMeasurement record = {};
  record.LeadId = 2;
  record.JPointAmplitude = -5;      // value 16
  record.STAmplitudeJplus80 = 300;  // value 30
  uint8_t expected[62] = {2};
  expected[32] = 0xFB, expected[33] = 0xFF, expected[60] = 0x2C, expected[61] = 0x01;
  EXPECT_EQ(sizeof record, 62u);
  EXPECT_TRUE(SameBytes(record, expected));
  SGlobalMeasurements m;
  m.QRSTypes = 1, m.PossiblePacemakerSpikes = 2, m.AvRRms = 1000, m.AvPPms = 0x0102;
  m.POnsetms = 3, m.POffsetms = 4, m.QRSOnsetms = 5, m.QRSOffsetms = 6, m.TOffsetms = 0x0201;
  m.PAxis = -30, m.QRSAxis = 60, m.TAxis = -1;
  EXPECT_TRUE(SameBytes(
      m, {1, 2, 0xE8, 3, 2, 1, 3, 0, 4, 0, 5, 0, 6, 0, 1, 2, 0xE2, 0xFF, 0x3C, 0, 0xFF, 0xFF}));
  m.KillData();
  EXPECT_TRUE(SameBytes(m, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  SEncodedData data;
  data.AVM = 5000, data.SampleInterval = 2000, data.Bimodal = 1;
  EXPECT_TRUE(SameBytes(data, {0x88, 0x13, 0xD0, 0x07, 0x00, 0x01}));
}

}  // namespace
