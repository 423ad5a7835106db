// The lead and section tables: limits with their error codes, growth that keeps the
// old entries in front, copies, and what lookups answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/errors.h"
#include "record/encoded_data.h"
#include "record/lead_definitions.h"
#include "record/lead_errors.h"
#include "record/lead_measurements.h"
#include "record/section_indexes.h"
#include "record/unknown_tags.h"
#include "support/last_error.h"

// Packed fields cannot bind to gtest's references; a unary plus reads them by value.
namespace {

using plat::kErrInvalidParameter;
using plat::kErrNoData;
using plat::kErrOutOfStructures;

// The entry array of each table of up to 254 entries.
SLeadDef* Entries(SLeadDefinitions& table) {
  return table.Leads;
}
SLeadError* Entries(SLeadErrors& table) {
  return table.Errors;
}
SLeadMeasurement* Entries(SLeadMeasurements& table) {
  return table.Records;
}

template <typename Table>
class LeadTable : public ::testing::Test {};
using LeadTables = ::testing::Types<SLeadDefinitions, SLeadErrors, SLeadMeasurements>;
TYPED_TEST_SUITE(LeadTable, LeadTables, );

TYPED_TEST(LeadTable, LimitsGrowthCopiesAndKill) {
  TypeParam table;
  EXPECT_TRUE(table.Allocate(254));
  EXPECT_TRUE(test::FailedWith(table.Allocate(255), kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(table.Allocate(0), kErrInvalidParameter));
  ASSERT_TRUE(table.Allocate(2));
  const size_t entry = sizeof(*Entries(table));
  std::memset(Entries(table), 0x5A, 2 * entry);
  EXPECT_TRUE(test::FailedWith(table.AddLeads(0), kErrInvalidParameter));
  ASSERT_TRUE(table.AddLeads(3));
  ASSERT_EQ(table.Count, 5);
  const std::vector<uint8_t> front(2 * entry, 0x5A);
  EXPECT_EQ(0, std::memcmp(Entries(table), front.data(), front.size()));  // old ones in front
  EXPECT_TRUE(test::FailedWith(table.AddLeads(250), kErrOutOfStructures));
  std::memset(Entries(table) + 2, 0x33, 3 * entry);
  TypeParam copy;
  EXPECT_TRUE(copy.Set(&table));
  ASSERT_EQ(copy.Count, 5);
  EXPECT_EQ(0, std::memcmp(Entries(copy), Entries(table), 5 * entry));
  EXPECT_TRUE(test::FailedWith(copy.Set(nullptr), kErrInvalidParameter));
  EXPECT_TRUE(table.AddLeads(249));
  EXPECT_EQ(table.Count, 254);
  table.KillData();
  EXPECT_EQ(table.Count, 0);
  EXPECT_EQ(Entries(table), nullptr);
}

void Fill(SLeadDefinitions& table, std::initializer_list<SLeadDef> leads) {
  ASSERT_TRUE(table.Allocate(static_cast<uint8_t>(leads.size())));
  std::copy(leads.begin(), leads.end(), table.Leads);
}

void Fill(SLeadErrors& table, std::initializer_list<SLeadError> entries) {
  ASSERT_TRUE(table.Allocate(static_cast<uint8_t>(entries.size())));
  std::copy(entries.begin(), entries.end(), table.Errors);
}

template <typename T, size_t N>
bool Holds(const T* entries, const T (&expected)[N]) {
  return std::memcmp(entries, expected, sizeof expected) == 0;
}

TEST(LeadTables, WhatEachTableAddsToTheCommonRules) {
  // Definitions: Allocate keeps the flags, Set copies them, KillData clears them; new
  // entries are zeroed.
  SLeadDefinitions defs;
  defs.Flags = 0x64;
  Fill(defs, {{1, 5000, 1}, {1, 5000, 2}});
  ASSERT_TRUE(defs.AddLeads(1));
  const SLeadDef grown[] = {{1, 5000, 1}, {1, 5000, 2}, {}};
  EXPECT_TRUE(Holds(defs.Leads, grown));
  SLeadDefinitions defsCopy;
  ASSERT_TRUE(defsCopy.Set(&defs));
  EXPECT_EQ(defsCopy.Flags, 0x64);
  defs.KillData();
  EXPECT_EQ(defs.Flags, 0);
  // Lead errors: a refused copy still empties the target.
  SLeadErrors errors, errorsCopy;
  Fill(errors, {{1, 0x0002}});
  ASSERT_TRUE(errorsCopy.Set(&errors));
  EXPECT_TRUE(test::FailedWith(errorsCopy.Set(nullptr), kErrInvalidParameter));
  EXPECT_EQ(errorsCopy.Count, 0);
  EXPECT_EQ(errorsCopy.Errors, nullptr);
  // Measurements: Set copies the record size, KillData makes it 62 again.
  SLeadMeasurements measurements, measurementsCopy;
  ASSERT_TRUE(measurements.Allocate(1));
  measurements.RecordSize = 66;
  ASSERT_TRUE(measurementsCopy.Set(&measurements));
  EXPECT_EQ(measurementsCopy.RecordSize, 66);
  measurementsCopy.KillData();
  EXPECT_EQ(measurementsCopy.RecordSize, 62);
}

TEST(LeadDefinitions, LookupsByLeadCodeAndSampleRange) {
  SLeadDefinitions table;
  plat::SetLastError(0);
  EXPECT_TRUE(test::FailedWith(table.GetLeadFromId(1), kErrNoData));
  EXPECT_EQ(table.GetIdIndexFromId(1), 256);
  EXPECT_EQ(plat::LastError(), kErrNoData);
  EXPECT_EQ(table.GetSamples(), 0u);
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  EXPECT_EQ(table.GetMinSample(), 0u);
  EXPECT_EQ(plat::LastError(), kErrNoData);
  Fill(table, {{1, 5000, 1}, {1, 5000, 61}, {1, 5000, 61}});
  const struct {
    int16_t id;
    int index;
    uint32_t error;
  } lookups[] = {
      {61, 1, plat::kErrSuccess}, {300, 256, kErrInvalidParameter}, {62, 256, plat::kErrSuccess}};
  for (const auto& lookup : lookups) {
    plat::SetLastError(99);
    EXPECT_EQ(table.GetIdIndexFromId(lookup.id), lookup.index);
    EXPECT_EQ(plat::LastError(), lookup.error);
  }
  EXPECT_EQ(table.GetLeadFromId(61), &table.Leads[1]);
  EXPECT_EQ(table.GetLeadFromId(0x100 + 61), &table.Leads[1]);  // only the low byte counts
  plat::SetLastError(99);
  EXPECT_TRUE(test::FailedWith(table.GetLeadFromId(2), plat::kErrSuccess));
  // A later entry starting at sample 0 is left out, a first one makes the range empty.
  const struct {
    std::initializer_list<SLeadDef> leads;
    uint32_t min, max, samples;
  } ranges[] = {{{{1, 5000, 1}, {1, 5000, 2}}, 1, 5000, 5000},
                {{{1201, 2400, 1}, {1, 1200, 2}, {2401, 3600, 3}}, 1, 3600, 3600},
                {{{11, 20, 1}, {0, 90, 2}, {5, 30, 3}}, 5, 30, 26},
                {{{0, 5000, 1}, {1, 5000, 2}}, 0, 0, 0}};
  for (const auto& range : ranges) {
    Fill(table, range.leads);
    EXPECT_EQ(table.GetMinSample(), range.min);
    EXPECT_EQ(table.GetMaxSample(), range.max);
    EXPECT_EQ(table.GetSamples(), range.samples);
  }
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
}

TEST(LeadErrors, AddCalcLeadsCombinesIAndII) {
  // Each missing limb lead takes the bits of I or II, in code order; a complete table
  // stays as it is.
  SLeadErrors table;
  Fill(table, {{1, 0x0001}, {3, 0x0002}, {2, 0x0004}});
  EXPECT_TRUE(table.AddCalcLeads());
  EXPECT_TRUE(table.AddCalcLeads());
  const SLeadError all[] = {{1, 1}, {3, 2}, {2, 4}, {61, 5}, {62, 5}, {63, 5}, {64, 5}};
  ASSERT_EQ(table.Count, 7);
  EXPECT_TRUE(Holds(table.Errors, all));
  Fill(table, {{63, 0}, {2, 0x0002}, {1, 0}, {61, 0}});
  EXPECT_TRUE(table.AddCalcLeads());
  const SLeadError some[] = {{63, 0}, {2, 2}, {1, 0}, {61, 0}, {62, 2}, {64, 2}};
  ASSERT_EQ(table.Count, 6);
  EXPECT_TRUE(Holds(table.Errors, some));
  Fill(table, {{1, 0x0001}, {3, 0}});
  EXPECT_TRUE(test::FailedWith(table.AddCalcLeads(), kErrNoData));
  EXPECT_EQ(table.Count, 2);
}

TEST(SectionIndexesAndUnknownTags, LimitsAndKill) {
  SSectionIndexes table;
  EXPECT_TRUE(table.Allocate(255));
  EXPECT_TRUE(test::FailedWith(table.Allocate(256), kErrOutOfStructures));
  EXPECT_EQ(table.Extra, 0u);  // the old entries are dropped first
  EXPECT_TRUE(test::FailedWith(table.Allocate(0), kErrInvalidParameter));
  ASSERT_TRUE(table.Allocate(2));
  table.Further[1] = {13, 100, 500};
  EXPECT_TRUE(table.AddIndex(3));
  EXPECT_EQ(table.Extra, 5u);
  EXPECT_EQ(+table.Further[1].Index, 500u);
  EXPECT_TRUE(test::FailedWith(table.AddIndex(251), kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(table.AddIndex(0), kErrInvalidParameter));
  table.Count = 17;
  table.Fixed[0] = {0, 136, 7};
  table.KillData();
  EXPECT_EQ(table.Count, 0u);
  EXPECT_EQ(table.Entry(12), nullptr);
  EXPECT_EQ(+table.Fixed[0].Length, 136u);  // the fixed entries keep their bytes
  SUnknownTags tags;
  EXPECT_TRUE(test::FailedWith(tags.Allocate(40, 0), kErrInvalidParameter));
  ASSERT_TRUE(tags.Allocate(255, 3));
  tags.KillTag(255);
  EXPECT_EQ(tags.Length[255], 0);
  EXPECT_EQ(tags.Data[255], nullptr);
}

TEST(EncodedData, LeadArraysAndBuffers) {
  SEncodedData data;
  EXPECT_TRUE(test::FailedWith(data.AllocateLead(0, 10), kErrNoData));
  EXPECT_TRUE(test::FailedWith(data.Allocate(255), kErrOutOfStructures));
  ASSERT_TRUE(data.Allocate(2));
  EXPECT_TRUE(test::FailedWith(data.AllocateLead(0, 0), kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(data.AllocateLead(2, 10), kErrOutOfStructures));
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
  EXPECT_EQ(data.SampleCounts[4], 0);
  EXPECT_EQ(data.LeadSamples[4], nullptr);
  EXPECT_TRUE(test::FailedWith(data.AddLeads(250), kErrOutOfStructures));
  data.FreeLead(1);
  EXPECT_EQ(data.LeadSamples[1], nullptr);
  EXPECT_EQ(data.SampleCounts[1], 0);
  data.FreeLead(9);  // beyond the table: nothing to do
  data.AVM = 5000;
  data.KillData();
  EXPECT_EQ(data.AVM + data.LeadCount, 0);
  EXPECT_EQ(data.LeadSamples, nullptr);
}

}  // namespace
