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
  struct Case {
    uint8_t Hardware, Software;
    const char* Revision;
  };
  const Case revisions[] = {{23, 5, "HW 2.3, SW 0.5"},
                            {0, 12, "SW 1.2"},
                            {7, 0, "HW 0.7"},
                            {0, 0, ""},
                            {255, 100, "HW 25.5, SW 10.0"}};
  SLeadObj leads;
  ASSERT_TRUE(leads.InitLeads(1, 2));
  TestWriter writer;
  for (const Case& c : revisions) {
    SECGInfo info = Info(0x2F, 2);
    info.HardwareVersion = c.Hardware;
    info.SoftwareVersion = c.Software;
    ASSERT_TRUE(writer.Set(info, &leads));
    EXPECT_EQ(Utf8(writer.Recording.ProgramRevision), c.Revision);
  }

  const std::pair<uint8_t, const char*> devices[] = {{0x00, "QD   "}, {0x11, "QC   "},
                                                     {0x22, "QBR  "}, {0xC3, "QA   "},
                                                     {0x04, "KTS  "}, {0x2F, "KTS  "}};
  for (const auto& [flags, text] : devices) {
    SECGInfo info = Info(flags, 2);
    ASSERT_TRUE(writer.Set(info, &leads));
    EXPECT_EQ(Utf8(writer.Recording.DeviceType), text) << int{flags};
  }

  // Low nibble: device filters (tag 212), high nibble: data filters (tag 29). 50 Hz
  // (bit 0) wins over 60 Hz (bit 1); bit 2 muscle gives 4, bit 3 baseline gives 8.
  const uint8_t filters[][3] = {
      {0x35, 6, 2}, {0x00, 0, 0}, {0x2A, 9, 1}, {0xC4, 4, 12}, {0xF2, 1, 14}};
  for (const auto& f : filters) {
    SECGInfo info = Info(0x2F, 2);
    info.Filters = f[0];
    ASSERT_TRUE(writer.Set(info, &leads));
    EXPECT_EQ(writer.Recording.FilterFlags, f[1]) << int{f[0]};
    EXPECT_EQ(writer.Recording.DataFilterFlags, f[2]) << int{f[0]};
  }

  // The serial number, even when a host fills all 256 characters without a terminator.
  SECGInfo info = Info(0x2F, 2);
  std::strcpy(info.SerialNumber, "SN-42");
  info.Year = 2023;
  info.Month = 11;
  info.Day = 30;
  info.Hour = 23;
  info.Minute = 59;
  info.Second = 58;
  ASSERT_TRUE(writer.Set(info, &leads));
  EXPECT_EQ(Utf8(writer.Recording.SerialNumber), "SN-42");
  const CRecordInfo& r = writer.Recording;
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
  const int codes[] = {61, 7, 0};
  for (uint8_t i = 0; i < 3; ++i) {
    EXPECT_EQ(+writer.LeadDefinitions.Leads[i].LeadId, codes[i]);
    EXPECT_EQ(+writer.LeadDefinitions.Leads[i].StartSample, 1u);
    EXPECT_EQ(+writer.LeadDefinitions.Leads[i].EndSample, 5u);
  }
  ASSERT_EQ(writer.Rhythm.LeadCount, 3);
  EXPECT_EQ(writer.Rhythm.AVM, 2500);
  EXPECT_EQ(writer.Rhythm.SampleInterval, 2000);
  EXPECT_EQ(writer.Rhythm.Encoding, 0);
  EXPECT_EQ(writer.Rhythm.Bimodal, 0);
  for (uint8_t lead = 0; lead < 3; ++lead) {
    ASSERT_EQ(writer.Rhythm.SampleCounts[lead], 5);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(writer.Rhythm.LeadSamples[lead][i], leads.Leads[lead].Samples[i]);
    }
  }
  EXPECT_EQ(writer.Loaded & 0x004A, 0x004A);
  EXPECT_EQ(writer.HasRhythm, 1);

  // 40 simultaneous leads count as 40 mod 32; another recording mode marks nothing.
  SLeadObj many;
  ASSERT_TRUE(many.InitLeads(40, 1));
  SECGInfo one = Info(0x13, 1);
  ASSERT_TRUE(writer.Set(one, &many));
  EXPECT_EQ(writer.LeadDefinitions.Flags, 0x04 | 8 << 3);
  SECGInfo apart = Info(0x23, 1);
  ASSERT_TRUE(writer.Set(apart, &many));
  EXPECT_EQ(writer.LeadDefinitions.Flags, 0);

  EXPECT_TRUE(test::FailedWith(writer.Set(info, nullptr), plat::kErrInvalidParameter));
}

std::string EventName(const char* scp, int16_t index) {
  char out[plat::kMaxPath];
  std::memset(out, '#', sizeof(out));
  TestWriter::CreateEventFileName(out, scp, index);
  return out;
}

TEST(EventFileName, LettersCountUpAndLongNamesAreCut) {
  const std::pair<int16_t, const char*> suffixes[] = {
      {0, "rec.a.scp"},     {1, "rec.b.scp"},     {25, "rec.z.scp"},     {26, "rec.ab.scp"},
      {27, "rec.bb.scp"},   {51, "rec.zb.scp"},   {675, "rec.zz.scp"},   {676, "rec.aa.scp"},
      {677, "rec.bab.scp"}, {703, "rec.bbb.scp"}, {32767, "rec.hmw.scp"}};
  for (const auto& [index, name] : suffixes) EXPECT_EQ(EventName("rec.scp", index), name);

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
  EXPECT_TRUE(std::regex_match(first, shape)) << first;
  EXPECT_TRUE(std::regex_match(second, shape)) << second;
  EXPECT_NE(first, second);
  // Random GUIDs carry version 4 in the first digit of Data3.
  EXPECT_EQ(first[15], '4') << first;
}

}  // namespace
