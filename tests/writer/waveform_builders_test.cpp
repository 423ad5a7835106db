// Sections 3, 5 and 6 built from held tables, byte for byte against the section layouts.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "support/waveform_builder.h"
#include "test_writer.h"

namespace {

using test::Bytes;
using Samples = std::vector<std::vector<int16_t>>;

// `leads` leads of `count` samples, sample i of lead l being 10 l + i - 3 (times `scale`).
Samples Leads(size_t leads, size_t count, int scale = 1) {
  Samples samples(leads);
  for (size_t l = 0; l < leads; ++l) {
    for (size_t i = 0; i < count; ++i)
      samples[l].push_back(static_cast<int16_t>(scale * (10 * l + i - 3)));
  }
  return samples;
}

void Fill(SEncodedData& data, uint16_t avm, uint16_t interval, const Samples& held) {
  ASSERT_TRUE(data.Allocate(static_cast<uint8_t>(held.size())));
  for (uint8_t lead = 0; lead < held.size(); ++lead) {
    ASSERT_TRUE(data.AllocateLead(lead, static_cast<uint16_t>(held[lead].size())));
    std::copy(held[lead].begin(), held[lead].end(), data.LeadSamples[lead]);
  }
  data.AVM = avm;
  data.SampleInterval = interval;
}

// Holds `rhythm` as lead codes 1, 2, ... over all its samples, AVM 5000 nV, 2 ms apart.
void Hold(TestWriter& writer, const Samples& rhythm) {
  ASSERT_TRUE(writer.LeadDefinitions.Allocate(static_cast<uint8_t>(rhythm.size())));
  writer.LeadDefinitions.Flags = 0x04;
  for (uint8_t lead = 0; lead < rhythm.size(); ++lead) {
    writer.LeadDefinitions.Leads[lead] =
        SLeadDef{1, static_cast<uint32_t>(rhythm[lead].size()), static_cast<uint8_t>(lead + 1)};
  }
  Fill(writer.Rhythm, 5000, 2000, rhythm);
  writer.Rhythm.Encoding = 1;  // carried as held, never applied
  writer.HasRhythm = 1;
  writer.Loaded |= kSection3 | kSection6;
}

// Section `id` framed as the writer frames it: CRC, ID, length, version 10, protocol 0,
// six reserved bytes, the body and a 0 that makes the size even.
Bytes Framed(uint16_t id, Bytes body) {
  if (body.size() % 2) body.push_back(0);
  Bytes section(16, 0);
  test::PutU16(section, 2, id);
  test::PutU32(section, 4, static_cast<uint32_t>(16 + body.size()));
  section[8] = 10;
  section.insert(section.end(), body.begin(), body.end());
  test::PutU16(section, 0, test::Crc16(section.data() + 2, section.size() - 2));
  return section;
}

TEST(WaveformBuilders, SectionsFollowTheLayout) {
  // Three leads make an odd Section 3 (45 bytes); twelve leads of 5000 samples a Section 6
  // far beyond 16-bit lengths.
  for (const auto& [leads, count] : {std::pair<size_t, size_t>{3, 3}, {12, 5000}}) {
    SCOPED_TRACE(leads);
    TestWriter writer;
    const Samples rhythm = Leads(leads, count);
    Samples median = Leads(leads, 0);
    for (size_t l = 0; l < leads; ++l)
      median[l].assign(50 + l, static_cast<int16_t>(-1000 * (l + 1)));
    Hold(writer, rhythm);
    Fill(writer.Median, 1000, 4000, median);
    writer.HasMedian = 1;
    writer.Loaded |= kSection5;
    ASSERT_TRUE(writer.CreateSec5());
    ASSERT_TRUE(writer.CreateSec3_6());
    ASSERT_EQ(writer.Store.Used, 4);
    std::vector<test::LeadRange> ranges;
    for (uint8_t l = 0; l < leads; ++l)
      ranges.push_back({1, static_cast<uint32_t>(count), static_cast<uint8_t>(l + 1)});
    Bytes rhythmBody = test::SampleDataBody(5000, 2000, rhythm);
    rhythmBody[4] = 1;
    const Bytes expected[] = {Framed(5, test::SampleDataBody(1000, 4000, median)),
                              Framed(6, rhythmBody), Framed(3, test::Section3Body(0x04, ranges))};
    for (uint16_t entry = 1; entry < 4; ++entry) {
      const uint8_t* stored = writer.Store.Data(entry);
      EXPECT_EQ(Bytes(stored, stored + writer.Store.Length(entry)), expected[entry - 1]) << entry;
    }
  }
}

TEST(WaveformBuilders, RefuseWhatIsNotHeld) {
  TestWriter writer;
  Hold(writer, Leads(2, 10));
  writer.Loaded = kSection6;
  EXPECT_TRUE(test::FailedWith(writer.CreateSec3_6(), plat::kErrNoData));
  EXPECT_EQ(writer.Store.Used, 1);
  EXPECT_TRUE(test::FailedWith(writer.CreateSec5(), plat::kErrNoData));
  writer.Store.Used = SScpRecord::kMaxEntries;
  writer.Loaded = kSection3 | kSection6;
  EXPECT_TRUE(test::FailedWith(writer.CreateSec3_6(), plat::kErrOutOfStructures));
  writer.Store.Used = 1;
}

}  // namespace
