// Records encoded by the tests' own encoder decode back to the exact samples.
#include <gtest/gtest.h>

#include <tuple>

#include "format/waveform_decoder.h"
#include "platform/errors.h"
#include "support/stream_encoder.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"
#include "writer/decoded_copy.h"

namespace {

using test::Bytes;
using test::HuffmanEncode;
using test::Section3Body;
using test::StandardDefaultTable;

// A wandering trace with rare large jumps, so that every code length and both
// original-value escapes occur once differences are taken.
std::vector<int16_t> Trace(size_t count, int seed) {
  std::vector<int16_t> x(count);
  uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 1;
  int value = 0;
  for (size_t i = 0; i < count; ++i) {
    state = state * 1103515245u + 12345u;
    value += (i % 97 == 50) ? 900 : (i % 53 == 20 ? -130 : int((state >> 16) % 15) - 7);
    x[i] = static_cast<int16_t>(value);
  }
  return x;
}

// Two tables: small steps in the first, +-5 and +-6 in the second, switches both ways.
std::vector<test::TestTable> SwitchingTables() {
  return {{{"0", 0},
           {"100", 1},
           {"101", -1},
           {"1100", 2},
           {"1101", -2},
           {"11100", 3},
           {"11101", -3},
           {"111100", 4},
           {"111101", -4},
           {"111110", 0, 0, 2},
           {"1111110", 0, 8},
           {"1111111", 0, 16}},
          {{"00", 5}, {"01", -5}, {"100", 6}, {"101", -6}, {"11", 0, 0, 1}}};
}

// The record decoded, or a failure with the last error.
SDecodedWaveforms Decoded(const Bytes& bytes) {
  SDecodedWaveforms decoded;
  EXPECT_TRUE(DecodeWaveformBuffer(bytes.data(), bytes.size(), &decoded)) << plat::LastError();
  return decoded;
}

enum class Coding { Plain, Default, Custom };

class HuffmanAndDifferences : public ::testing::TestWithParam<std::tuple<Coding, int>> {};

TEST_P(HuffmanAndDifferences, RoundTripsEveryLead) {
  const auto [coding, order] = GetParam();
  const std::vector<std::vector<int16_t>> leads{Trace(400, 1), Trace(400, 2), Trace(400, 3)};
  std::vector<Bytes> stored;
  for (const auto& lead : leads) {
    const std::vector<int16_t> d = test::Differences(lead, order);
    stored.push_back(coding == Coding::Plain     ? test::Words(d)
                     : coding == Coding::Default ? HuffmanEncode({StandardDefaultTable()}, d)
                                                 : HuffmanEncode(SwitchingTables(), d));
  }
  test::RecordBuilder record;
  if (coding == Coding::Default) record.Section(2, test::Section2DefaultBody());
  if (coding == Coding::Custom) record.Section(2, test::Section2Body(SwitchingTables()));
  record.Section(3, Section3Body(0x1C, {{1, 400, 1}, {1, 400, 2}, {1, 400, 3}}))
      .Section(6, test::SampleBody(5000, 2000, static_cast<uint8_t>(order), 0, stored));
  const SDecodedWaveforms decoded = Decoded(record.Build());
  EXPECT_EQ(decoded.Rhythm.Leads, leads);
  EXPECT_EQ(decoded.Rhythm.AVM, 5000);
  EXPECT_FALSE(decoded.Median.Present);
}

INSTANTIATE_TEST_SUITE_P(AllModes, HuffmanAndDifferences,
                         ::testing::Combine(::testing::Values(Coding::Plain, Coding::Default,
                                                              Coding::Custom),
                                            ::testing::Values(0, 1, 2)));

TEST(DescribeEncoding, NamesTablesOrderSubtractionAndBimodal) {
  SDecodedWaveforms decoded;
  decoded.HuffmanTables = 2;
  decoded.Rhythm.Difference = 1;
  decoded.Subtracted = true;
  decoded.Rhythm.Bimodal = 1;
  EXPECT_EQ(DescribeEncoding(decoded),
            "huffman 2 tables, first differences, reference beat subtraction, bimodal");
}

TEST(ReferenceBeatSubtraction, AddsTheBeatBackInEveryZone) {
  // A 40-sample beat with its fiducial at sample 20, at 2 ms a sample; zones around
  // samples 100 and 300, and one at 490 that runs past the end.
  std::vector<int16_t> beat(40);
  for (int i = 0; i < 40; ++i) beat[size_t(i)] = int16_t(i < 20 ? 15 * i : 600 - 25 * (i - 20));
  const std::vector<test::TestZone> zones{
      {81, 100, 120, 0, 0}, {281, 300, 320, 0, 0}, {471, 490, 510, 0, 0}};
  const std::vector<int16_t> rhythm = Trace(500, 7);
  std::vector<int16_t> residual = rhythm;
  for (const auto& zone : zones) {
    for (uint32_t s = zone.SubtractStart; s <= zone.SubtractEnd && s <= 500; ++s) {
      residual[s - 1] = static_cast<int16_t>(residual[s - 1] - beat[s - zone.Fiducial + 19]);
    }
  }
  const test::TestTable table = StandardDefaultTable();
  const Bytes median = HuffmanEncode({table}, test::Differences(beat, 1));
  const Bytes stored = HuffmanEncode({table}, test::Differences(residual, 2));
  const SDecodedWaveforms decoded =
      Decoded(test::RecordBuilder()
                  .Section(2, test::Section2DefaultBody())
                  .Section(3, Section3Body(0x01, {{1, 500, 1}}))
                  .Section(4, test::Section4Body(80, 20, zones))
                  .Section(5, test::SampleBody(5000, 2000, 1, 0, {median}))
                  .Section(6, test::SampleBody(5000, 2000, 2, 0, {stored}))
                  .Build());
  EXPECT_TRUE(decoded.Subtracted);
  EXPECT_EQ(decoded.Median.Leads, std::vector<std::vector<int16_t>>{beat});
  EXPECT_EQ(decoded.Rhythm.Leads, std::vector<std::vector<int16_t>>{rhythm});
}

// Linear stretches survive decimation, interpolation and smoothing exactly; inside the
// protected zones (their edges excepted) the trace is arbitrary. A bent trace is worked
// out by hand.
TEST(Bimodal, RestoresTheFullRate) {
  const struct {
    unsigned Ratio;
    std::vector<test::TestZone> Zones;
    size_t Samples;
    int Slope;                        // outside the protected zones the trace is 3 + Slope * sample
    std::vector<int16_t> Kept, Full;  // when given: the stored samples and the decoded ones
  } cases[] = {
      {3, {{0, 0, 0, 1, 5}, {0, 0, 0, 36, 42}, {0, 0, 0, 73, 77}}, 77, 3, {}, {}},
      {2, {{0, 0, 0, 1, 4}, {0, 0, 0, 12, 20}, {0, 0, 0, 40, 41}}, 55, 0, {}, {}},  // uneven runs
      {4, {{0, 0, 0, 1, 2}, {0, 0, 0, 23, 30}}, 30, -2, {}, {}},
      // 0, 0, 9, 0 kept at 0-based 0 (protected), 1.5, 3.5 and 5.5 interpolate to
      // 0 0 2.25 6.75 6.75 2.25 0, rounded 0 0 2 7 7 2 0; smoothed 0.5 2.75 5.75
      // 5.75 2.75 between the ends, rounded half away from zero.
      {2, {{0, 0, 0, 1, 1}}, 7, 0, {0, 0, 9, 0}, {0, 1, 3, 6, 6, 3, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Samples);
    std::vector<int16_t> full = c.Full;
    const std::vector<int16_t> noise = Trace(c.Samples, 11);
    for (size_t s = 0; c.Full.empty() && s < c.Samples; ++s) {
      full.push_back(static_cast<int16_t>(3 + c.Slope * static_cast<int>(s)));
      for (const auto& zone : c.Zones) {
        if (s + 1 > zone.ProtectStart && s + 1 < zone.ProtectEnd) full[s] = noise[s];
      }
    }
    const std::vector<int16_t> kept =
        c.Kept.empty() ? test::Decimate(full, c.Zones, c.Ratio) : c.Kept;
    const Bytes stored = HuffmanEncode({StandardDefaultTable()}, test::Differences(kept, 1));
    const auto interval = static_cast<uint16_t>(2000 * c.Ratio);
    const auto samples = static_cast<uint32_t>(c.Samples);
    const SDecodedWaveforms decoded =
        Decoded(test::RecordBuilder()
                    .Section(2, test::Section2DefaultBody())
                    .Section(3, Section3Body(0, {{1, samples, 1}}))
                    .Section(4, test::Section4Body(0, 0, c.Zones))
                    .Section(5, test::SampleBody(5000, 2000, 0, 0, {Bytes{}}))
                    .Section(6, test::SampleBody(5000, interval, 1, 1, {stored}))
                    .Build());
    EXPECT_EQ(decoded.Rhythm.SampleInterval, 2000);
    EXPECT_EQ(decoded.Rhythm.Leads, std::vector<std::vector<int16_t>>{full});
  }
}

TEST(UncompressedFromZero, ReadsTheStoredSamplesAndRenumbersThem) {
  const std::vector<int16_t> samples{5, -3, 2000, -2000, 0, 1, 2, 3, 4};
  const SDecodedWaveforms decoded =
      Decoded(test::RecordBuilder()
                  .Section(3, Section3Body(0x14, {{0, 9, 1}, {0, 9, 2}}))
                  .Section(6, test::SampleBody(1000, 1000, 0, 0,
                                               {test::Words(samples), test::Words(samples)}))
                  .Build());
  ASSERT_EQ(decoded.Rhythm.Leads.size(), 2u);
  EXPECT_EQ(decoded.Rhythm.Leads[1], samples);
  EXPECT_EQ(decoded.LeadDefs[0].StartSample, 1u);  // 0-9 become 1-9
  EXPECT_EQ(decoded.LeadDefs[0].EndSample, 9u);
}

// The copy is a valid record even when a section it keeps came with a wrong CRC.
TEST(DecodedCopy, ReadsBackWithTheCoreReader) {
  const std::vector<int16_t> lead1 = Trace(300, 21), lead2 = Trace(300, 22);
  const test::TestTable table = StandardDefaultTable();
  const std::vector<Bytes> stored{HuffmanEncode({table}, test::Differences(lead1, 2)),
                                  HuffmanEncode({table}, test::Differences(lead2, 2))};
  test::TempFolder folder;
  const std::string from =
      folder.Write("coded.scp", test::RecordBuilder()
                                    .Section(1, Bytes{255, 0, 0, 0})  // tag 255 alone
                                    .BadCrc()
                                    .Section(2, test::Section2DefaultBody())
                                    .Section(3, Section3Body(0x14, {{1, 300, 1}, {1, 300, 2}}))
                                    .Section(6, test::SampleBody(2500, 2000, 2, 0, stored))
                                    .Build());
  const std::string to = folder.File("plain.scp");
  CDecodedCopyWriter writer;
  ASSERT_TRUE(writer.WriteDecodedCopy(from.c_str(), to.c_str())) << plat::LastError();
  EXPECT_EQ(writer.RepairedCrcs, 1u << 1);
  bool valid = false;
  ASSERT_TRUE(CReader::CheckCrc(to.c_str(), &valid));
  EXPECT_TRUE(valid);
  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(to.c_str(), &loaded, kAllSections));
  ASSERT_TRUE(loaded & kSection6);
  EXPECT_EQ(reader.Rhythm.Encoding, 0);
  EXPECT_EQ(reader.Rhythm.AVM, 2500);
  EXPECT_EQ(std::vector<int16_t>(reader.Rhythm.LeadSamples[1], reader.Rhythm.LeadSamples[1] + 300),
            lead2);
}

// One lead of ten samples; a five-sample beat (fiducial 3) subtracted in samples 4-8
// (fiducial 6), Sections 5 and 6 uncompressed, each with its own AVM.
SDecodedWaveforms SubtractedRecord(uint16_t medianAvm, uint16_t rhythmAvm) {
  const std::vector<int16_t> beat{10, -20, 300, -20, 10};
  const std::vector<int16_t> residual{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  return Decoded(test::RecordBuilder()
                     .Section(3, Section3Body(0x01, {{1, 10, 1}}))
                     .Section(4, test::Section4Body(10, 3, {{4, 6, 8, 0, 0}}))
                     .Section(5, test::SampleBody(medianAvm, 2000, 0, 0, {test::Words(beat)}))
                     .Section(6, test::SampleBody(rhythmAvm, 2000, 0, 0, {test::Words(residual)}))
                     .Build());
}

TEST(ReferenceBeatSubtraction, BringsBothSectionsToTheFinerAvm) {
  const struct {
    uint16_t MedianAvm, RhythmAvm, Avm;
    std::vector<int16_t> Rhythm;
  } cases[] = {
      // 4 x residual, plus the beat in 4-8: 4 x 4 + 10 = 26, 20 - 20, 24 + 300, 28 - 20, 32 + 10.
      {5000, 20000, 5000, {4, 8, 12, 26, 0, 324, 8, 42, 36, 40}},
      // The residual as it is, plus 4 x the beat: 4 + 40, 5 - 80, 6 + 1200, 7 - 80, 8 + 40.
      {20000, 5000, 5000, {1, 2, 3, 44, -75, 1206, -73, 48, 9, 10}},
      // Equal AVMs: added as stored.
      {5000, 5000, 5000, {1, 2, 3, 14, -15, 306, -13, 18, 9, 10}},
      // 2.5 x residual rounded half away from zero, plus the beat: 10 + 10, 12.5 - 20, ...
      {1000, 2500, 1000, {3, 5, 8, 20, -7, 315, -2, 30, 23, 25}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.RhythmAvm);
    const SDecodedWaveforms decoded = SubtractedRecord(c.MedianAvm, c.RhythmAvm);
    EXPECT_EQ(decoded.Rhythm.AVM, c.Avm);
    EXPECT_EQ(decoded.Median.AVM, c.MedianAvm);
    EXPECT_EQ(decoded.Rhythm.Leads, std::vector<std::vector<int16_t>>{c.Rhythm});
  }
}

// A coded beat whose length in ms is no whole number of samples at 1666 us a sample:
// 8 ms is 4.80 samples, 9 ms 5.40. The stream decides between the two candidates.
TEST(ReferenceBeatLength, RoundsAsTheStreamShows) {
  const struct {
    uint16_t Ms;
    std::vector<int16_t> Coded;  // "1100" / "1101" for +-2: four bits each; 8: ten bits
    size_t Expected;
  } cases[] = {
      {8, {2, -2, 2, -2, 2}, 5},     // nearest is 5 and the stream holds it
      {8, {2, -2, 2, -2}, 4},        // exactly 16 bits: no fifth sample, 4
      {9, {2, -2, 2, -2, 2, 8}, 6},  // 5 nearest, but 10 bits beyond the fifth: a sixth
      {9, {2, -2, 2, -2, 2}, 5},     // 5 and 4 bits of padding
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Coded.size());
    const test::TestTable table = StandardDefaultTable();
    const SDecodedWaveforms decoded = Decoded(
        test::RecordBuilder()
            .Section(2, test::Section2DefaultBody())
            .Section(3, Section3Body(0, {{1, 3, 1}}))
            .Section(4, test::Section4Body(c.Ms, 2, {}))
            .Section(5, test::SampleBody(5000, 1666, 0, 0, {HuffmanEncode({table}, c.Coded)}))
            .Section(6, test::SampleBody(5000, 1666, 0, 0, {HuffmanEncode({table}, {1, 2, 3})}))
            .Build());
    ASSERT_EQ(decoded.Median.Leads.size(), 1u);
    EXPECT_EQ(decoded.Median.Leads[0],
              std::vector<int16_t>(c.Coded.begin(), c.Coded.begin() + long(c.Expected)));
  }
}

}  // namespace
