// A host that includes only the umbrella header reaches the whole core.
#include <gtest/gtest.h>

#include "ktxscp32.h"

TEST(UmbrellaHeader, DeclaresTheCore) {
  CReader reader;
  CCRC crc;
  SLeadDefinitions leads;
  EXPECT_EQ(reader.Loaded, 0);
  EXPECT_EQ(crc.Value(), 0xFFFF);
  EXPECT_EQ(leads.GetIdIndexFromId(1), SLeadDefinitions::kNoLead);
  EXPECT_STREQ(LeadName(62), "aVR");
  EXPECT_EQ(LeadLabel(200), "code 200");
}
