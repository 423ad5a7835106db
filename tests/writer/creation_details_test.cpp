// The pieces of file creation on their own: copying an acquisition event into the
// writer's records, the event file names of multi-event Bio files, and GUID text.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/text.h"
#include "support/last_error.h"
#include "test_writer.h"
#include "written_tags.h"

namespace {

using test::Utf8;

SECGInfo Info(uint8_t deviceFlags, uint16_t sampleCount) {
  SECGInfo info;
  info.Clear();
  info.DeviceFlags = deviceFlags;
  info.SampleCount = sampleCount;
  info.SampleInterval = 2000;
  info.Resolution = 2500;
  return info;
}

TEST(CreationSet, HeaderTextsAndFiltersFollowTheAcquisition) {
  SLeadObj leads;
  ASSERT_TRUE(leads.InitLeads(1, 2));
  TestWriter writer;
  // Low nibble: device filters (tag 212), high nibble: data filters (tag 29). 50 Hz
  // (bit 0) wins over 60 Hz (bit 1); bit 2 muscle gives 4, bit 3 baseline gives 8.
  std::string flags;
  for (int filters : {0x35, 0x00, 0x2A, 0xC4, 0xF2}) {
    SECGInfo info = Info(0x2F, 2);
    info.Filters = static_cast<uint8_t>(filters);
    ASSERT_TRUE(writer.Set(info, &leads));
    flags += std::to_string(writer.Recording.FilterFlags) + "/" +
             std::to_string(writer.Recording.DataFilterFlags) + " ";
  }
  EXPECT_EQ(flags, "6/2 0/0 9/1 4/12 1/14 ");

  // The texts made of the record (the tables of both are the acquisition tests'), the date,
  // and the serial number even when a host fills all 256 characters without a terminator.
  SECGInfo info = Info(0xC3, 2);
  std::strcpy(info.SerialNumber, "SN-42");
  info.HardwareVersion = 23, info.SoftwareVersion = 5;
  info.Year = 2023, info.Month = 11, info.Day = 30;
  info.Hour = 23, info.Minute = 59, info.Second = 58;
  ASSERT_TRUE(writer.Set(info, &leads));
  const CRecordInfo& r = writer.Recording;
  EXPECT_EQ(Utf8(r.SerialNumber) + "|" + Utf8(r.DeviceType) + "|" + Utf8(r.ProgramRevision),
            "SN-42|QA   |HW 2.3, SW 0.5");
  EXPECT_EQ((std::vector<int>{r.AcquisitionYear, r.AcquisitionMonth, r.AcquisitionDay,
                              r.AcquisitionHour, r.AcquisitionMinute, r.AcquisitionSecond}),
            (std::vector<int>{2023, 11, 30, 23, 59, 58}));
  std::memset(info.SerialNumber, 'x', sizeof(info.SerialNumber));
  ASSERT_TRUE(writer.Set(info, &leads));
  EXPECT_EQ(Utf8(writer.Recording.SerialNumber), std::string(256, 'x'));
}

TEST(CreationSet, LeadsAndSamplesFollowTheLeadSet) {
  SLeadObj leads;
  ASSERT_TRUE(leads.InitLeads(3, 8));  // room for more samples than the event holds
  leads.Leads[0].LeadIndex = 2;        // LeadId 255: III from the 12-lead order
  leads.Leads[1].LeadId = 7;           // V5 named directly
  leads.Leads[1].LeadIndex = 0;
  leads.Leads[2].LeadIndex = 13;  // beyond the order: unspecified
  for (int16_t i = 0; i < 8; ++i) {
    leads.Leads[0].Samples[i] = static_cast<int16_t>(i + 1);
    leads.Leads[1].Samples[i] = static_cast<int16_t>(-100 * i);
    leads.Leads[2].Samples[i] = 2032;
  }
  TestWriter writer;
  SECGInfo info = Info(0x13, 5);  // QA, leads recorded simultaneously
  ASSERT_TRUE(writer.Set(info, &leads));
  ASSERT_EQ(writer.LeadDefinitions.Count, 3);
  EXPECT_EQ(writer.LeadDefinitions.Flags, 0x04 | 3 << 3);
  const SEncodedData& rhythm = writer.Rhythm;
  ASSERT_EQ(rhythm.LeadCount, 3);
  EXPECT_EQ((std::vector<int>{rhythm.AVM, rhythm.SampleInterval, rhythm.Encoding, rhythm.Bimodal,
                              writer.Loaded & 0x004A, writer.HasRhythm}),
            (std::vector<int>{2500, 2000, 0, 0, 0x004A, 1}));
  const int codes[] = {61, 7, 0};
  for (uint8_t i = 0; i < 3; ++i) {
    const SLeadDef& lead = writer.LeadDefinitions.Leads[i];
    EXPECT_EQ((std::vector<int>{lead.LeadId, static_cast<int>(lead.StartSample),
                                static_cast<int>(lead.EndSample)}),
              (std::vector<int>{codes[i], 1, 5}));
    ASSERT_EQ(rhythm.SampleCounts[i], 5);
    EXPECT_TRUE(
        std::equal(rhythm.LeadSamples[i], rhythm.LeadSamples[i] + 5, leads.Leads[i].Samples));
  }

  // 40 simultaneous leads count as 40 mod 32; another recording mode marks nothing.
  SLeadObj many;
  ASSERT_TRUE(many.InitLeads(40, 1));
  for (auto [mode, flags] : {std::pair<uint8_t, int>{0x13, 0x04 | 8 << 3}, {0x23, 0}}) {
    SECGInfo one = Info(mode, 1);
    ASSERT_TRUE(writer.Set(one, &many));
    EXPECT_EQ(writer.LeadDefinitions.Flags, flags);
  }

  EXPECT_TRUE(test::FailedWith(writer.Set(info, nullptr), plat::kErrInvalidParameter));
}

std::string EventName(const char* scp, int16_t index) {
  char out[plat::kMaxPath];
  std::memset(out, '#', sizeof(out));
  TestWriter::CreateEventFileName(out, scp, index);
  return out;
}

TEST(EventFileName, LettersCountUpAndLongNamesAreCut) {
  std::string names;
  for (int index : {0, 1, 25, 26, 27, 51, 675, 676, 677, 703, 32767}) {
    names += EventName("rec.scp", static_cast<int16_t>(index)) + " ";
  }
  EXPECT_EQ(names,
            "rec.a.scp rec.b.scp rec.z.scp rec.ab.scp rec.bb.scp rec.zb.scp rec.zz.scp "
            "rec.aa.scp rec.bab.scp rec.bbb.scp rec.hmw.scp ");

  // Folder and extension stay as they are; no extension, none added.
  EXPECT_EQ(EventName("data/ecg/rec.scp", 2), "data/ecg/rec.c.scp");
  EXPECT_EQ(EventName("data/rec", 0), "data/rec.a");
  EXPECT_EQ(EventName("a.b.scp", 1), "a.b.b.scp");

  // A base name of 255 - (suffix length) characters or more is cut to that length.
  const std::string base253(253, 'n');
  EXPECT_EQ(EventName((std::string(254, 'n') + ".e").c_str(), 0), base253 + ".a.e");
  EXPECT_EQ(EventName((base253 + ".e").c_str(), 0), base253 + ".a.e");
  EXPECT_EQ(EventName((std::string(252, 'n') + ".e").c_str(), 0), std::string(252, 'n') + ".a.e");
  EXPECT_EQ(EventName((std::string(255, 'n') + ".e").c_str(), 677),
            std::string(251, 'n') + ".bab.e");
  // The result never outgrows its 260 bytes.
  EXPECT_EQ(
      EventName((std::string(100, 'd') + "/" + std::string(250, 'n') + ".scp").c_str(), 0).size(),
      plat::kMaxPath - 1);

  char untouched[4] = "abc";
  TestWriter::CreateEventFileName(untouched, nullptr, 0);
  EXPECT_STREQ(untouched, "abc");
  TestWriter::CreateEventFileName(nullptr, "rec.scp", 0);  // nothing happens
}

TEST(Guid, TextHasTheRegistryShapeWithData3InLowerCase) {
  const std::regex shape("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
  const std::string first = CWriter::GenerateGuid();
  const std::string second = CWriter::GenerateGuid();
  EXPECT_TRUE(std::regex_match(first, shape) && std::regex_match(second, shape)) << first << second;
  EXPECT_NE(first, second);
  // Random GUIDs carry version 4 in the first digit of Data3.
  EXPECT_EQ(first[15], '4') << first;
}

}  // namespace
