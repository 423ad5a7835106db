#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "record/lead_definitions.h"
#include "support/last_error.h"

// Packed fields cannot bind to gtest's references; a unary plus reads them by value.
namespace {

void Fill(SLeadDefinitions& table, std::initializer_list<SLeadDef> leads) {
  ASSERT_TRUE(table.Allocate(static_cast<uint8_t>(leads.size())));
  std::copy(leads.begin(), leads.end(), table.Leads);
}

TEST(LeadDefinitions, AllocateGrowAndSet) {
  SLeadDefinitions table;
  table.Flags = 0x64;
  EXPECT_TRUE(table.Allocate(254));
  EXPECT_EQ(table.Count, 254);
  EXPECT_EQ(table.Flags, 0x64);  // Allocate leaves the flags alone

  EXPECT_TRUE(test::FailedWith(table.Allocate(255), plat::kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(table.Allocate(0), plat::kErrInvalidParameter));

  Fill(table, {{1, 5000, 1}, {1, 5000, 2}});
  EXPECT_TRUE(table.AddLeads(3));
  ASSERT_EQ(table.Count, 5);
  EXPECT_EQ(+table.Leads[1].LeadId, 2);  // old entries stay in front
  EXPECT_EQ(+table.Leads[1].EndSample, 5000u);
  EXPECT_EQ(+table.Leads[4].LeadId, 0);  // new entries are zeroed
  EXPECT_EQ(+table.Leads[4].EndSample, 0u);
  EXPECT_TRUE(test::FailedWith(table.AddLeads(250), plat::kErrOutOfStructures));
  EXPECT_TRUE(table.AddLeads(249));
  EXPECT_EQ(table.Count, 254);

  SLeadDefinitions copy;
  EXPECT_TRUE(copy.Set(&table));
  EXPECT_EQ(copy.Count, 254);
  EXPECT_EQ(copy.Flags, 0x64);
  EXPECT_EQ(std::memcmp(copy.Leads, table.Leads, 254 * sizeof(SLeadDef)), 0);
  EXPECT_TRUE(test::FailedWith(copy.Set(nullptr), plat::kErrInvalidParameter));

  table.KillData();
  EXPECT_EQ(table.Count, 0);
  EXPECT_EQ(table.Flags, 0);
  EXPECT_EQ(table.Leads, nullptr);
}

TEST(LeadDefinitions, LookupsByLeadCode) {
  SLeadDefinitions table;
  plat::SetLastError(0);
  EXPECT_TRUE(test::FailedWith(table.GetLeadFromId(1), plat::kErrNoData));
  EXPECT_EQ(table.GetIdIndexFromId(1), 256);
  EXPECT_EQ(plat::LastError(), plat::kErrNoData);

  Fill(table, {{1, 5000, 1}, {1, 5000, 61}, {1, 5000, 61}});
  plat::SetLastError(99);
  EXPECT_EQ(table.GetIdIndexFromId(61), 1);
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);
  EXPECT_EQ(table.GetIdIndexFromId(300), 256);
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  EXPECT_EQ(table.GetIdIndexFromId(62), 256);
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);

  EXPECT_EQ(table.GetLeadFromId(61), &table.Leads[1]);
  EXPECT_EQ(table.GetLeadFromId(0x100 + 61), &table.Leads[1]);  // only the low byte counts
  plat::SetLastError(99);
  EXPECT_TRUE(test::FailedWith(table.GetLeadFromId(2), plat::kErrSuccess));
}

TEST(LeadDefinitions, SampleRange) {
  SLeadDefinitions table;
  EXPECT_EQ(table.GetSamples(), 0u);
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  EXPECT_EQ(table.GetMinSample(), 0u);
  EXPECT_EQ(plat::LastError(), plat::kErrNoData);

  Fill(table, {{1, 5000, 1}, {1, 5000, 2}});
  EXPECT_EQ(table.GetSamples(), 5000u);
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);

  Fill(table, {{1201, 2400, 1}, {1, 1200, 2}, {2401, 3600, 3}});
  EXPECT_EQ(table.GetMinSample(), 1u);
  EXPECT_EQ(table.GetMaxSample(), 3600u);
  EXPECT_EQ(table.GetSamples(), 3600u);

  // A later entry starting at sample 0 holds no samples and is left out.
  Fill(table, {{11, 20, 1}, {0, 90, 2}, {5, 30, 3}});
  EXPECT_EQ(table.GetMinSample(), 5u);
  EXPECT_EQ(table.GetMaxSample(), 30u);

  Fill(table, {{0, 5000, 1}, {1, 5000, 2}});
  EXPECT_EQ(table.GetMinSample(), 0u);
  EXPECT_EQ(table.GetMaxSample(), 0u);
  EXPECT_EQ(table.GetSamples(), 0u);
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
}

}  // namespace
