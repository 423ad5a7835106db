// Derived limb leads and lead errors written into an existing file: the rebuilt
// waveform sections and tag 200 checked against values worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "record_sections.h"
#include "support/last_error.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"
#include "writer/writer.h"
#include "written_tags.h"

namespace {

using test::Bytes;
using test::TagList;
using Samples = std::vector<std::vector<int16_t>>;

// A Section 1 the writer rebuilds unchanged from default records, plus a comment.
TagList BaseTags() {
  return test::ParseTags(test::kDefaultDeviceTag + std::string(";") +
                         "5: 0 0 0 0; 8: 0; 25: 0 0 0 0; 26: 0 0 0; 200: 0; 202: 'keep';"
                         "203: 0 0 0 0 0 0 0 0 0 0 0 0; 204: 0; 212: 0");
}

// I, II, V1-V6 over samples 1-4: lead I holds the marker 2033, V1 the markers 2032
// and 2034.
const Samples kRhythm = {{100, 2033, 10, -20}, {300, 100, 20, 40}, {2032, 2034, 0, 0},
                         {3, 3, 3, 3},         {4, 4, 4, 4},       {5, 5, 5, 5},
                         {6, 6, 6, 6},         {7, 7, 7, 7}};
const Samples kMedian = {{10, 20, 30}, {30, 40, 50}, {1, 1, 1}, {2, 2, 2},
                         {3, 3, 3},    {4, 4, 4},    {5, 5, 5}, {6, 6, 6}};

Bytes LeadsBody(uint8_t flags, size_t count) {
  const uint8_t codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};
  std::vector<test::LeadRange> leads;
  for (size_t i = 0; i < count; ++i) leads.push_back({1, 4, codes[i]});
  return test::Section3Body(flags, leads);
}

// Eight simultaneous leads; Sections 7 and 200 stand for everything else.
Bytes EightLeadRecord(bool withMedian) {
  test::RecordBuilder builder;
  builder.Section(1, test::Section1Body(BaseTags())).Versions(11, 0);
  builder.Section(3, LeadsBody(0x04 | 8 << 3, 8));
  if (withMedian) builder.Section(5, test::SampleDataBody(1000, 2000, kMedian));
  builder.Section(6, test::SampleDataBody(1000, 2000, kRhythm));
  builder.Section(7, {7, 7, 7, 7}).Section(200, {0xC8, 0});
  return builder.Build();
}

Bytes BodyOf(const Bytes& section) {
  return Bytes(section.begin() + 16, section.end());
}

// Tag 200 once the markers are counted: I bit 1 (2033), V1 bits 0 and 2; the four
// derived leads take the bits of I and II.
const Bytes kLeadErrorTag = {12, 1, 2, 0, 2, 0, 0,  3, 5, 0,  4, 0, 0,  5, 0, 0,  6, 0, 0,
                             7,  0, 0, 8, 0, 0, 61, 2, 0, 62, 2, 0, 63, 2, 0, 64, 2, 0};

TagList ExpectedTags() {
  TagList tags = BaseTags();
  test::SetTag(tags, 200, kLeadErrorTag);
  test::Apply(tags, "208: 'scpecg-test'; 209: '9.9'");
  return tags;
}

bool Edit(bool (CWriter::*update)(const char*), const std::string& path) {
  CWriter writer;
  writer.SelectWriter(test::Wide("scpecg-test").c_str(), test::Wide("9.9").c_str());
  return (writer.*update)(path.c_str());
}

TEST(WaveformUpdates, CalculatedLeadsAreAppendedOnceAfterTheRecordedOnes) {
  // III = II - I, aVR = -(I + II) / 2, aVL = I - II / 2, aVF = II - I / 2, each term
  // truncated; a marker in a source makes the sample that marker.
  Samples rhythm = kRhythm;
  rhythm.push_back({200, 2033, 10, 60});
  rhythm.push_back({-200, 2033, -15, -10});
  rhythm.push_back({-50, 2033, 0, -40});
  rhythm.push_back({250, 2033, 15, 50});
  Samples median = kMedian;
  median.push_back({20, 20, 20});
  median.push_back({-20, -30, -40});
  median.push_back({-5, 0, 5});
  median.push_back({25, 30, 35});

  for (bool withMedian : {false, true}) {
    SCOPED_TRACE(withMedian ? "with reference beats" : "rhythm only");
    test::TempFolder folder;
    const Bytes before = EightLeadRecord(withMedian);
    const std::string path = folder.Write("derive.scp", before);
    ASSERT_TRUE(Edit(&CWriter::UpdateCalculatedLeads, path)) << plat::LastError();
    const Bytes after = test::ReadWholeFile(path);
    const auto sections = test::Sections(after);
    EXPECT_EQ(BodyOf(sections.at(3)), LeadsBody(0x04 | 12 << 3, 12));
    EXPECT_EQ(BodyOf(sections.at(6)), test::SampleDataBody(1000, 2000, rhythm));
    ASSERT_EQ(sections.count(5), withMedian ? 1u : 0u);
    if (withMedian) {
      EXPECT_EQ(BodyOf(sections.at(5)), test::SampleDataBody(1000, 2000, median));
    }
    EXPECT_EQ(test::Tags(sections.at(1)), ExpectedTags());
    EXPECT_EQ(sections.at(7), test::Sections(before).at(7));
    EXPECT_EQ(sections.at(200), test::Sections(before).at(200));
    EXPECT_EQ(after[0] | after[1] << 8, test::Crc16(after.data() + 2, after.size() - 2));

    // All four are there now: a second run writes the same record again.
    ASSERT_TRUE(Edit(&CWriter::UpdateCalculatedLeads, path)) << plat::LastError();
    EXPECT_EQ(test::ReadWholeFile(path), after);
  }
}

TEST(WaveformUpdates, LeadErrorsComeFromTheRhythmMarkersAndTheWaveformStaysAsItWas) {
  test::TempFolder folder;
  const Bytes before = EightLeadRecord(false);
  const std::string path = folder.Write("errors.scp", before);
  ASSERT_TRUE(Edit(&CWriter::UpdateLeadErrors, path)) << plat::LastError();
  const auto old = test::Sections(before);
  const auto now = test::Sections(test::ReadWholeFile(path));
  EXPECT_EQ(test::Tags(now.at(1)), ExpectedTags());
  ASSERT_EQ(now.size(), old.size());
  for (const auto& [id, bytes] : old) EXPECT_TRUE(id <= 1 || now.at(id) == bytes) << id;
}

TEST(WaveformUpdates, UnreadableReferenceBeatsStopTheDerivation) {
  // Section 5 is optional, but one that is there has to parse: 8 lead lengths need 22
  // bytes and this one holds 10.
  test::TempFolder folder;
  const Bytes before = test::RecordBuilder()
                           .Section(1, test::Section1Body(BaseTags()))
                           .Section(3, LeadsBody(0x04, 8))
                           .Section(5, {0xE8, 3, 0xD0, 7, 0, 0, 2, 0, 2, 0})
                           .Section(6, test::SampleDataBody(1000, 2000, kRhythm))
                           .Build();
  const std::string path = folder.Write("median.scp", before);
  EXPECT_TRUE(test::FailedWith(Edit(&CWriter::UpdateCalculatedLeads, path), plat::kErrInvalidData));
  EXPECT_EQ(test::ReadWholeFile(path), before);
}

}  // namespace
