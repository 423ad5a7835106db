// Sections 3, 5 and 6 built from held tables, and read back by the reader.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "record_sections.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"
#include "test_writer.h"

namespace {

using test::Bytes;

// Holds `leads` leads of `samples` samples each, sample i of lead l being 10 l + i.
void HoldRhythm(TestWriter& writer, uint8_t leads, uint16_t samples) {
  ASSERT_TRUE(writer.LeadDefinitions.Allocate(leads));
  writer.LeadDefinitions.Flags = 0x04;
  ASSERT_TRUE(writer.Rhythm.Allocate(leads));
  writer.Rhythm.AVM = 5000;
  writer.Rhythm.SampleInterval = 2000;
  writer.Rhythm.Encoding = 1;  // carried as held, never applied
  for (uint8_t lead = 0; lead < leads; ++lead) {
    writer.LeadDefinitions.Leads[lead] = SLeadDef{1, samples, static_cast<uint8_t>(lead + 1)};
    ASSERT_TRUE(writer.Rhythm.AllocateLead(lead, samples));
    for (uint16_t i = 0; i < samples; ++i) {
      writer.Rhythm.LeadSamples[lead][i] = static_cast<int16_t>(10 * lead + i - 3);
    }
  }
  writer.HasRhythm = 1;
  writer.Loaded |= kSection3 | kSection6;
}

TEST(WaveformBuilders, SectionSizesAndBytesFollowTheLayout) {
  TestWriter writer;
  HoldRhythm(writer, 12, 5000);
  ASSERT_TRUE(writer.CreateSec3_6());
  ASSERT_EQ(writer.Store.Used, 3);
  EXPECT_EQ(writer.Store.FixedIds[1], 6);
  EXPECT_EQ(writer.Store.FixedLengths[1], 120046u);  // 16 + 6 + 12 x 2 + 12 x 10000
  EXPECT_EQ(writer.Store.FixedIds[2], 3);
  EXPECT_EQ(writer.Store.FixedLengths[2], 126u);  // 16 + 2 + 12 x 9
  const uint8_t* rhythm = writer.Store.FixedData[1];
  EXPECT_EQ(Bytes(rhythm + 16, rhythm + 24), (Bytes{0x88, 0x13, 0xD0, 0x07, 1, 0, 0x10, 0x27}));
  // Lead 2 starts after the 6 + 24 header bytes and 10000 bytes of lead 1: 20 - 3 = 17.
  EXPECT_EQ(rhythm[16 + 30 + 2 * 10000], 17);
  EXPECT_EQ(rhythm[16 + 30], 0xFD);  // -3, low byte first
  EXPECT_EQ(rhythm[16 + 31], 0xFF);
  EXPECT_EQ(test::Crc16(rhythm + 2, 120044), rhythm[0] | rhythm[1] << 8);

  // Three leads: 45 bytes of Section 3, padded to 46.
  TestWriter three;
  HoldRhythm(three, 3, 3);
  ASSERT_TRUE(three.CreateSec3_6());
  EXPECT_EQ(three.Store.FixedLengths[2], 46u);
  const uint8_t* leads = three.Store.FixedData[2];
  EXPECT_EQ(leads[4], 46);
  EXPECT_EQ(Bytes(leads + 16, leads + 27), (Bytes{3, 0x04, 1, 0, 0, 0, 3, 0, 0, 0, 1}));
  EXPECT_EQ(leads[45], 0);
  // Section 6 of 3 x 3 samples: 16 + 6 + 6 + 18 = 46, no pad.
  EXPECT_EQ(three.Store.FixedLengths[1], 46u);
}

TEST(WaveformBuilders, RefuseWhatIsNotHeld) {
  TestWriter writer;
  HoldRhythm(writer, 2, 10);
  writer.Loaded = kSection6;
  EXPECT_TRUE(test::FailedWith(writer.CreateSec3_6(), plat::kErrNoData));
  EXPECT_EQ(writer.Store.Used, 1);
  EXPECT_TRUE(test::FailedWith(writer.CreateSec5(), plat::kErrNoData));
  writer.Store.Used = SScpRecord::kMaxEntries;
  writer.Loaded = kSection3 | kSection6;
  EXPECT_TRUE(test::FailedWith(writer.CreateSec3_6(), plat::kErrOutOfStructures));
  writer.Store.Used = 1;
}

TEST(WaveformBuilders, TablesSurviveAWriteAndLoad) {
  test::TempFolder folder;
  const std::string path = folder.File("wave.scp");
  TestWriter writer;
  HoldRhythm(writer, 3, 700);
  ASSERT_TRUE(writer.Median.Allocate(3));
  writer.Median.AVM = 1000;
  writer.Median.SampleInterval = 4000;
  for (uint8_t lead = 0; lead < 3; ++lead) {
    ASSERT_TRUE(writer.Median.AllocateLead(lead, static_cast<uint16_t>(50 + lead)));
    writer.Median.LeadSamples[lead][49] = static_cast<int16_t>(-1000 * (lead + 1));
  }
  writer.HasMedian = 1;
  writer.Loaded |= kSection5;
  ASSERT_TRUE(writer.CreateSec5());
  ASSERT_TRUE(writer.CreateSec3_6());
  ASSERT_TRUE(writer.WriteSections(path.c_str()));
  writer.Close();

  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path.c_str(), &loaded, kAllSections));
  EXPECT_EQ(loaded, kSection0 | kSection3 | kSection5 | kSection6);
  TestWriter expected;
  HoldRhythm(expected, 3, 700);
  ASSERT_EQ(reader.LeadDefinitions.Count, 3);
  EXPECT_EQ(reader.LeadDefinitions.Flags, 0x04);
  for (uint8_t lead = 0; lead < 3; ++lead) {
    EXPECT_EQ(reader.LeadDefinitions.Leads[lead].LeadId, lead + 1);
    ASSERT_EQ(reader.Rhythm.SampleCounts[lead], 700);
    EXPECT_TRUE(std::equal(reader.Rhythm.LeadSamples[lead], reader.Rhythm.LeadSamples[lead] + 700,
                           expected.Rhythm.LeadSamples[lead]));
    ASSERT_EQ(reader.Median.SampleCounts[lead], 50 + lead);
    EXPECT_EQ(reader.Median.LeadSamples[lead][49], -1000 * (lead + 1));
  }
  EXPECT_EQ(reader.Rhythm.AVM, 5000);
  EXPECT_EQ(reader.Rhythm.Encoding, 1);
  EXPECT_EQ(reader.Median.SampleInterval, 4000);
}

}  // namespace
