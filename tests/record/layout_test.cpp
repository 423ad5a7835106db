// Entries that are read from and written to files as blocks must hold exactly the
// file's little-endian bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "record/encoded_data.h"
#include "record/global_measurements.h"
#include "record/lead_definitions.h"
#include "record/lead_errors.h"
#include "record/lead_measurements.h"
#include "record/section_indexes.h"

namespace {

template <typename T, size_t N>
bool SameBytes(const T& object, const uint8_t (&expected)[N]) {
  return std::memcmp(&object, expected, N) == 0;
}

TEST(Layout, EntriesMatchFileBytes) {
  const SSectionIndex index = {6, 0x01020304, 7};
  EXPECT_TRUE(SameBytes(index, {0x06, 0x00, 0x04, 0x03, 0x02, 0x01, 0x07, 0x00, 0x00, 0x00}));

  const SLeadDef def = {1, 5000, 61};
  EXPECT_TRUE(SameBytes(def, {0x01, 0x00, 0x00, 0x00, 0x88, 0x13, 0x00, 0x00, 0x3D}));

  const SLeadError error = {62, 0x0105};
  EXPECT_TRUE(SameBytes(error, {0x3E, 0x05, 0x01}));

  SLeadMeasurement record = {};
  record.LeadId = 2;
  record.JPointAmplitude = -5;      // value 16
  record.STAmplitudeJplus80 = 300;  // value 30
  uint8_t bytes[62] = {};
  std::memcpy(bytes, &record, sizeof(bytes));
  EXPECT_EQ(bytes[0], 0x02);
  EXPECT_EQ(bytes[32], 0xFB);
  EXPECT_EQ(bytes[33], 0xFF);
  EXPECT_EQ(bytes[60], 0x2C);
  EXPECT_EQ(bytes[61], 0x01);
}

TEST(Layout, HeadersMatchSectionBytes) {
  SGlobalMeasurements m;
  m.QRSTypes = 1;
  m.PossiblePacemakerSpikes = 2;
  m.AvRRms = 1000;
  m.AvPPms = 0x0102;
  m.POnsetms = 3;
  m.POffsetms = 4;
  m.QRSOnsetms = 5;
  m.QRSOffsetms = 6;
  m.TOffsetms = 0x0201;
  m.PAxis = -30;
  m.QRSAxis = 60;
  m.TAxis = -1;
  EXPECT_TRUE(SameBytes(m, {0x01, 0x02, 0xE8, 0x03, 0x02, 0x01, 0x03, 0x00, 0x04, 0x00, 0x05,
                            0x00, 0x06, 0x00, 0x01, 0x02, 0xE2, 0xFF, 0x3C, 0x00, 0xFF, 0xFF}));
  m.KillData();
  EXPECT_TRUE(SameBytes(m, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  SEncodedData data;
  data.AVM = 5000;
  data.SampleInterval = 2000;
  data.Bimodal = 1;
  EXPECT_TRUE(SameBytes(data, {0x88, 0x13, 0xD0, 0x07, 0x00, 0x01}));
}

}  // namespace
