#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "record/encoded_data.h"
#include "record/lead_measurements.h"
#include "record/section_indexes.h"
#include "record/unknown_tags.h"
#include "support/last_error.h"

// Packed fields cannot bind to gtest's references; a unary plus reads them by value.
namespace {

TEST(SectionIndexes, FurtherEntriesLimitsAndGrowth) {
  SSectionIndexes table;
  EXPECT_TRUE(table.Allocate(255));
  EXPECT_TRUE(test::FailedWith(table.Allocate(256), plat::kErrOutOfStructures));
  EXPECT_EQ(table.Extra, 0u);  // the old entries are dropped first
  EXPECT_TRUE(test::FailedWith(table.Allocate(0), plat::kErrInvalidParameter));

  ASSERT_TRUE(table.Allocate(2));
  table.Further[1] = {13, 100, 500};
  EXPECT_TRUE(table.AddIndex(3));
  EXPECT_EQ(table.Extra, 5u);
  EXPECT_EQ(+table.Further[1].Index, 500u);
  EXPECT_TRUE(test::FailedWith(table.AddIndex(251), plat::kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(table.AddIndex(0), plat::kErrInvalidParameter));

  EXPECT_EQ(table.Entry(11), &table.Fixed[11]);
  EXPECT_EQ(table.Entry(13), &table.Further[1]);
  EXPECT_EQ(table.Entry(17), nullptr);

  table.Count = 17;
  table.Fixed[0] = {0, 136, 7};
  table.KillData();
  EXPECT_EQ(table.Count, 0u);
  EXPECT_EQ(table.Entry(12), nullptr);
  EXPECT_EQ(+table.Fixed[0].Length, 136u);  // the fixed entries keep their bytes
}

TEST(UnknownTags, AllocateReplacesSlot) {
  SUnknownTags tags;
  EXPECT_TRUE(test::FailedWith(tags.Allocate(40, 0), plat::kErrInvalidParameter));

  ASSERT_TRUE(tags.Allocate(255, 3));
  std::memcpy(tags.Data[255], "abc", 3);
  ASSERT_TRUE(tags.Allocate(255, 5));
  EXPECT_EQ(tags.Length[255], 5);
  EXPECT_NE(tags.Data[255], nullptr);

  tags.KillTag(255);
  EXPECT_EQ(tags.Length[255], 0);
  EXPECT_EQ(tags.Data[255], nullptr);
}

TEST(LeadMeasurements, AllocateGrowSetKill) {
  SLeadMeasurements table;
  EXPECT_EQ(table.RecordSize, 62);
  EXPECT_TRUE(test::FailedWith(table.Allocate(255), plat::kErrOutOfStructures));
  ASSERT_TRUE(table.Allocate(2));
  table.Records[1].JPointAmplitude = -5;
  table.RecordSize = 66;
  ASSERT_TRUE(table.AddLeads(1));
  EXPECT_EQ(table.Count, 3);
  EXPECT_EQ(+table.Records[1].JPointAmplitude, -5);
  EXPECT_TRUE(test::FailedWith(table.AddLeads(252), plat::kErrOutOfStructures));

  SLeadMeasurements copy;
  EXPECT_TRUE(copy.Set(&table));
  EXPECT_EQ(copy.Count, 3);
  EXPECT_EQ(copy.RecordSize, 66);
  EXPECT_EQ(std::memcmp(copy.Records, table.Records, 3 * sizeof(SLeadMeasurement)), 0);
  EXPECT_TRUE(test::FailedWith(copy.Set(nullptr), plat::kErrInvalidParameter));

  copy.KillData();
  EXPECT_EQ(copy.Count, 0);
  EXPECT_EQ(copy.RecordSize, 62);
  EXPECT_EQ(copy.Records, nullptr);
}

TEST(EncodedData, LeadArraysAndBuffers) {
  SEncodedData data;
  EXPECT_TRUE(test::FailedWith(data.AllocateLead(0, 10), plat::kErrNoData));
  EXPECT_TRUE(test::FailedWith(data.Allocate(255), plat::kErrOutOfStructures));

  ASSERT_TRUE(data.Allocate(2));
  EXPECT_TRUE(test::FailedWith(data.AllocateLead(0, 0), plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(data.AllocateLead(2, 10), plat::kErrOutOfStructures));

  // Replacing a buffer gives a zeroed one of the new size.
  ASSERT_TRUE(data.AllocateLead(1, 10));
  std::fill(data.LeadSamples[1], data.LeadSamples[1] + 10, int16_t{2032});
  ASSERT_TRUE(data.AllocateLead(1, 20));
  EXPECT_EQ(data.SampleCounts[1], 20);
  EXPECT_EQ(std::count(data.LeadSamples[1], data.LeadSamples[1] + 20, 0), 20);
  data.LeadSamples[1][19] = -7;

  ASSERT_TRUE(data.AddLeads(3));
  EXPECT_EQ(data.LeadCount, 5);
  EXPECT_EQ(data.LeadSamples[1][19], -7);
  EXPECT_EQ(data.SampleCounts[1], 20);
  EXPECT_EQ(data.LeadSamples[4], nullptr);
  EXPECT_EQ(data.SampleCounts[4], 0);
  EXPECT_TRUE(test::FailedWith(data.AddLeads(250), plat::kErrOutOfStructures));

  data.FreeLead(1);
  EXPECT_EQ(data.LeadSamples[1], nullptr);
  EXPECT_EQ(data.SampleCounts[1], 0);
  data.FreeLead(9);  // beyond the table: nothing to do

  data.AVM = 5000;
  data.KillData();
  EXPECT_EQ(data.AVM, 0);
  EXPECT_EQ(data.LeadCount, 0);
  EXPECT_EQ(data.LeadSamples, nullptr);
}

}  // namespace
