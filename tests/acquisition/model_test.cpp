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
  const SLeadData& last = leads.Leads[253];
  EXPECT_EQ((std::vector<int>{leads.LeadCount, leads.FilledLeads, last.Samples[9], last.LeadIndex,
                              last.LeadId}),
            (std::vector<int>{254, 0, 0, 255, 255}));  // zero-filled, no identity

  SLeadData& lead = leads.Leads[0];
  lead.LeadIndex = 4;
  lead.LeadId = 9;
  EXPECT_TRUE(test::FailedWith(lead.InitLeads(0), plat::kErrInvalidParameter));
  EXPECT_EQ(lead.Samples, nullptr);  // the earlier buffer and identity are gone
  EXPECT_EQ(lead.LeadIndex + lead.LeadId, 255 + 255);
  leads.KillLeads();
  EXPECT_EQ(leads.Leads, nullptr);
  EXPECT_EQ(leads.LeadCount, 0);

  // Lead codes of the 12-lead order; past it 0; a set LeadId wins over the index.
  SLeadData code;
  const uint8_t codes[] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8, 0, 0};
  for (uint8_t index = 0; index < 14; ++index) {
    code.LeadIndex = index;
    EXPECT_EQ(code.GetLeadCode(), codes[index]) << int{index};
  }
  code.LeadId = 64;
  code.LeadIndex = 0;
  EXPECT_EQ(code.GetLeadCode(), 64);
}

TEST(AcquisitionModel, HeaderRecordTextsAndEvent) {
  SECGInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  info.Clear();
  uint8_t expected[290] = {};
  expected[259] = 0x2F;  // DeviceFlags: device type 15, mode 2
  expected[269] = 255;   // SingleLead
  EXPECT_EQ(std::memcmp(&info, expected, sizeof(expected)), 0);

  // Only the device type nibble counts; a zero version is left out.
  std::string texts;
  for (int flags : {0x00, 0x11, 0x22, 0xC3, 0x04, 0x2F})
    texts += DeviceTypeText(static_cast<uint8_t>(flags));
  EXPECT_EQ(texts, "QD   QC   QBR  QA   KTS  KTS  ");
  texts.clear();
  for (const auto& [hw, sw] :
       {std::pair<uint8_t, uint8_t>{23, 10}, {0, 5}, {7, 0}, {0, 0}, {255, 100}}) {
    char text[32];
    std::memset(text, 'x', sizeof(text));
    ProgramRevisionText(hw, sw, text, sizeof(text));
    texts += std::string(text) + "|";
  }
  EXPECT_EQ(texts, "HW 2.3, SW 1.0|SW 0.5|HW 0.7||HW 25.5, SW 10.0|");

  SEvent event;
  EXPECT_EQ(event.Info.SingleLead, 255);
  EXPECT_TRUE(test::FailedWith(event.InitLeads(2), plat::kErrInvalidParameter));  // no samples
  event.Info.SampleCount = 5;
  event.Info.Year = 2024;
  event.Info.LeadCount = 2;
  ASSERT_TRUE(event.InitLeads(2));
  event.Leads[1].Samples[9] = 7;  // room for twice the sample count
  event.KillLeads();
  EXPECT_EQ(event.Leads, nullptr);
  EXPECT_EQ((std::vector<int>{event.Info.Year, event.Info.LeadCount, event.Info.SampleCount}),
            (std::vector<int>{2024, 0, 0}));
}

}  // namespace
