#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "record/lead_errors.h"
#include "support/last_error.h"

// Packed fields cannot bind to gtest's references; a unary plus reads them by value.
namespace {

void Fill(SLeadErrors& table, std::initializer_list<SLeadError> entries) {
  ASSERT_TRUE(table.Allocate(static_cast<uint8_t>(entries.size())));
  std::copy(entries.begin(), entries.end(), table.Errors);
}

TEST(LeadErrors, AllocateGrowAndSet) {
  SLeadErrors table;
  EXPECT_TRUE(test::FailedWith(table.Allocate(255), plat::kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(table.Allocate(0), plat::kErrInvalidParameter));

  Fill(table, {{1, 0x0002}});
  EXPECT_TRUE(table.AddLeads(2));
  ASSERT_EQ(table.Count, 3);
  EXPECT_EQ(+table.Errors[0].ErrorBits, 0x0002);
  EXPECT_TRUE(test::FailedWith(table.AddLeads(252), plat::kErrOutOfStructures));

  SLeadErrors copy;
  EXPECT_TRUE(copy.Set(&table));
  ASSERT_EQ(copy.Count, 3);
  EXPECT_EQ(std::memcmp(copy.Errors, table.Errors, 3 * sizeof(SLeadError)), 0);
  // A refused copy still empties the target.
  EXPECT_TRUE(test::FailedWith(copy.Set(nullptr), plat::kErrInvalidParameter));
  EXPECT_EQ(copy.Count, 0);
  EXPECT_EQ(copy.Errors, nullptr);
}

TEST(LeadErrors, AddCalcLeadsCombinesIAndII) {
  SLeadErrors table;
  Fill(table, {{1, 0x0001}, {3, 0x0002}, {2, 0x0004}});
  EXPECT_TRUE(table.AddCalcLeads());
  ASSERT_EQ(table.Count, 7);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(+table.Errors[3 + i].LeadId, 61 + i);
    EXPECT_EQ(+table.Errors[3 + i].ErrorBits, 0x0005);
  }
  EXPECT_TRUE(table.AddCalcLeads());  // complete already
  EXPECT_EQ(table.Count, 7);

  // Only the missing codes are added, in code order.
  Fill(table, {{63, 0}, {2, 0x0002}, {1, 0}, {61, 0}});
  EXPECT_TRUE(table.AddCalcLeads());
  ASSERT_EQ(table.Count, 6);
  EXPECT_EQ(+table.Errors[4].LeadId, 62);
  EXPECT_EQ(+table.Errors[5].LeadId, 64);
  EXPECT_EQ(+table.Errors[5].ErrorBits, 0x0002);

  Fill(table, {{1, 0x0001}, {3, 0}});
  EXPECT_TRUE(test::FailedWith(table.AddCalcLeads(), plat::kErrNoData));
  EXPECT_EQ(table.Count, 2);
}

}  // namespace
