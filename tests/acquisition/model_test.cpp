#include <gtest/gtest.h>

#include <cstring>

#include "acquisition/event.h"
#include "platform/errors.h"
#include "support/last_error.h"

namespace {

TEST(AcquisitionModel, LeadAllocationLimitsAndRelease) {
  SLeadObj leads;
  EXPECT_TRUE(test::FailedWith(leads.InitLeads(255, 10), plat::kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(leads.InitLeads(3, 0), plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(leads.InitLeads(0, 10), plat::kErrInvalidParameter));
  EXPECT_EQ(leads.Leads, nullptr);

  ASSERT_TRUE(leads.InitLeads(254, 10));
  EXPECT_EQ(leads.LeadCount, 254);
  EXPECT_EQ(leads.FilledLeads, 0);
  EXPECT_EQ(leads.Leads[253].Samples[9], 0);  // zero-filled
  EXPECT_EQ(leads.Leads[253].LeadIndex, 255);
  EXPECT_EQ(leads.Leads[253].LeadId, 255);

  SLeadData& lead = leads.Leads[0];
  lead.LeadIndex = 4;
  lead.LeadId = 9;
  EXPECT_TRUE(test::FailedWith(lead.InitLeads(0), plat::kErrInvalidParameter));
  EXPECT_EQ(lead.Samples, nullptr);
  EXPECT_EQ(lead.LeadIndex, 255);  // the earlier buffer and identity are gone
  EXPECT_EQ(lead.LeadId, 255);

  leads.KillLeads();
  EXPECT_EQ(leads.Leads, nullptr);
  EXPECT_EQ(leads.LeadCount, 0);
}

TEST(AcquisitionModel, LeadCodes) {
  SLeadData lead;
  const uint8_t expected[] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8, 0};
  for (uint8_t index = 0; index < 13; ++index) {
    lead.LeadIndex = index;
    EXPECT_EQ(lead.GetLeadCode(), expected[index]) << int{index};
  }
  lead.LeadIndex = 13;
  EXPECT_EQ(lead.GetLeadCode(), 0);
  lead.LeadId = 64;  // a set LeadId wins over the index
  lead.LeadIndex = 0;
  EXPECT_EQ(lead.GetLeadCode(), 64);
}

TEST(AcquisitionModel, HeaderRecordAndEvent) {
  SECGInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  info.Clear();
  uint8_t expected[290] = {};
  expected[259] = 0x2F;  // DeviceFlags: device type 15, mode 2
  expected[269] = 255;   // SingleLead
  EXPECT_EQ(std::memcmp(&info, expected, sizeof(expected)), 0);
  EXPECT_STREQ(DeviceTypeText(info.DeviceFlags), "KTS  ");
  EXPECT_STREQ(DeviceTypeText(0x12), "QBR  ");
  EXPECT_STREQ(DeviceTypeText(0x13), "QA   ");

  char text[32];
  ProgramRevisionText(23, 10, text, sizeof(text));
  EXPECT_STREQ(text, "HW 2.3, SW 1.0");
  ProgramRevisionText(0, 5, text, sizeof(text));
  EXPECT_STREQ(text, "SW 0.5");
  ProgramRevisionText(0, 0, text, sizeof(text));
  EXPECT_STREQ(text, "");

  SEvent event;
  EXPECT_EQ(event.Info.SingleLead, 255);
  EXPECT_FALSE(event.InitLeads(2));  // no sample count yet
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  event.Info.SampleCount = 5;
  event.Info.Year = 2024;
  event.Info.LeadCount = 2;
  ASSERT_TRUE(event.InitLeads(2));
  event.Leads[1].Samples[9] = 7;  // room for twice the sample count
  event.KillLeads();
  EXPECT_EQ(event.Leads, nullptr);
  EXPECT_EQ(event.Info.Year, 2024);
  EXPECT_EQ(event.Info.LeadCount, 0);
  EXPECT_EQ(event.Info.SampleCount, 0);
}

}  // namespace
