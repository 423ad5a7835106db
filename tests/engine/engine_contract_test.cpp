// The entry point on whole records: results read back with the library's reader, the
// record stays valid and every section that is not a result stays byte for byte.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "engine/ecg_generator.h"
#include "engine/ktxsys32.h"
#include "reader/reader.h"
#include "support/temp_folder.h"
#include "writer/record_sections.h"

namespace {

// Writes the generated ECG as a record in `folder`.
std::string WriteEcg(const test::TempFolder& folder, const testgen::Ecg& ecg) {
  return folder.Write("ecg.scp", testgen::ScpRecord(ecg));
}

testgen::Options With(const std::function<void(testgen::Options&)>& change) {
  testgen::Options o;
  change(o);
  return o;
}

TEST(EngineFile, FullAnalysisAddsReadableResultsAndKeepsEverythingElse) {
  test::TempFolder folder;
  testgen::Options o;
  o.Ectopic = {5};
  const testgen::Ecg ecg = testgen::Generate(o);
  const std::string name = WriteEcg(folder, ecg);
  const test::Bytes before = test::ReadWholeFile(name);
  ASSERT_EQ(ScpAnalysis32(name.c_str(), 1), 0);
  const test::Bytes after = test::ReadWholeFile(name);

  bool valid = false;
  ASSERT_TRUE(CReader::CheckCrc(name.c_str(), &valid));
  EXPECT_TRUE(valid);
  auto old = test::Sections(before), now = test::Sections(after);
  for (int id : {1, 3, 6}) EXPECT_EQ(old[uint16_t(id)], now[uint16_t(id)]) << "section " << id;

  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(name.c_str(), &loaded, kAllSections));
  EXPECT_EQ(loaded & (kSection5 | kSection7 | kSection9 | kSection10),
            kSection5 | kSection7 | kSection9 | kSection10);
  // Reference beats of one second at 500 Hz; sinus rhythm, and the one wide early beat
  // stated as a ventricular premature beat.
  const CAnalysisInfo& analysis = reader.Analysis;
  EXPECT_EQ(
      (std::vector<int>{reader.Median.LeadCount, reader.Median.AVM, reader.Median.SampleInterval,
                        reader.Median.SampleCounts[0], reader.LeadMeasurements.Count,
                        reader.LeadMeasurements.Records[1].LeadId, analysis.Measurements.QRSTypes,
                        analysis.RhythmCodes, analysis.RhythmCode[0], analysis.RhythmCode[1]}),
      (std::vector<int>{8, 2500, 2000, 500, 8, 2, 1, 2, 1, 6}));
  EXPECT_NEAR(reader.LeadMeasurements.Records[1].QRSDuration, 90, 8);
  EXPECT_NEAR(analysis.Measurements.AvRRms, 857, 3);

  // Section 4: head, 14-byte QRS records (1-based samples), protected areas.
  const test::Bytes& s4 = now[4];
  ASSERT_GE(s4.size(), 16u + 6u) << "no Section 4";
  const size_t n = CReader::ReadU16(&s4[16 + 4]);
  ASSERT_EQ(n, ecg.Beats.size());
  EXPECT_EQ(CReader::ReadU16(&s4[16]), 1000);  // reference beat length, ms
  EXPECT_EQ(CReader::ReadU16(&s4[18]), 201);   // fiducial sample 400 ms in
  ASSERT_EQ(s4.size(), 16 + 6 + 22 * n + ((6 + 22 * n) & 1));
  for (size_t b = 0; b < n; ++b) {
    const uint8_t* q = &s4[16 + 6 + 14 * b];
    EXPECT_EQ(CReader::ReadU16(q), ecg.Beats[b].Ectopic ? 1 : 0);
    // Its protected area spans the QRS, onset to offset.
    const uint8_t* area = &s4[16 + 6 + 14 * n + 8 * b];
    EXPECT_EQ(CReader::ReadU32(area), CReader::ReadU32(q + 2)) << b;
    EXPECT_EQ(CReader::ReadU32(area + 4), CReader::ReadU32(q + 10)) << b;
    const double fiducial = (CReader::ReadU32(q + 6) - 1) / o.Rate;
    EXPECT_GT(fiducial, ecg.Beats[b].QrsOnset);
    EXPECT_LT(fiducial, ecg.Beats[b].QrsOffset);
    // Onset and offset come from the reference beat, so they hold for its own type.
    if (ecg.Beats[b].Ectopic) continue;
    EXPECT_NEAR((CReader::ReadU32(q + 2) - 1) / o.Rate, ecg.Beats[b].QrsOnset, 0.012);
    EXPECT_NEAR((CReader::ReadU32(q + 10) - 1) / o.Rate, ecg.Beats[b].QrsOffset, 0.012);
  }
}

TEST(EngineFile, ShortAnalysisWritesNoReferenceBeatsNorPerLeadMeasurements) {
  test::TempFolder folder;
  const std::string name = WriteEcg(folder, testgen::Generate({}));
  ASSERT_EQ(ScpAnalysis32(name.c_str(), 2), 0);
  auto now = test::Sections(test::ReadWholeFile(name));
  EXPECT_TRUE(now.count(4) && now.count(7) && now.count(9));
  EXPECT_FALSE(now.count(5) || now.count(10));
  // A second, full analysis replaces the results instead of adding to them.
  ASSERT_EQ(ScpAnalysis32(name.c_str(), 1), 0);
  now = test::Sections(test::ReadWholeFile(name));
  EXPECT_TRUE(now.count(5) && now.count(10));
}

// Refused with the engine's result code, the file left as it was.
TEST(EngineFile, RefusesSignalsItCannotAnalyse) {
  const auto flat = [](testgen::Options& o) {
    o.PAmplitude = o.QAmplitude = o.RAmplitude = o.SAmplitude = o.TAmplitude = 0;
  };
  const struct {
    const char* Name;
    testgen::Options Options;
    int Mode;
    uint16_t Expected;
  } cases[] = {
      {"flat", With(flat), 1, 13},
      {"noise", With([&](auto& o) {
         flat(o);
         o.NoiseUv = 100;
       }),
       1, 6},
      {"leadOff", With([](auto& o) {
         o.LeadOff = {{0, 10}}, o.LeadOffLead = 3;
       }),
       1, 14},
      {"tooShort", With([](auto& o) { o.Seconds = 0.8; }), 1, 13},
      {"badMode", testgen::Options{}, 3, 11},
  };
  test::TempFolder folder;
  for (const auto& c : cases) {
    const std::string name = WriteEcg(folder, testgen::Generate(c.Options));
    const test::Bytes before = test::ReadWholeFile(name);
    EXPECT_EQ(ScpAnalysis32(name.c_str(), c.Mode), c.Expected) << c.Name;
    EXPECT_EQ(test::ReadWholeFile(name), before) << c.Name;
  }
}

TEST(Engine, AnswersForMissingAndForeignFiles) {
  test::TempFolder folder;
  EXPECT_EQ(ScpAnalysis32(folder.File("none.scp").c_str(), 1), 8);
  EXPECT_EQ(ScpAnalysis32(nullptr, 1), 15);
  const std::string junk = folder.Write("junk.scp", test::Bytes(200, 0x41));
  const uint16_t result = ScpAnalysis32(junk.c_str(), 1);
  EXPECT_TRUE(result == 15 || result == 3) << result;
}

TEST(EngineFile, AnalysesEveryRateAndLength) {
  test::TempFolder folder;
  for (const auto& shape : {std::pair{100.0, 10.0}, {1000.0, 10.0}, {500.0, 1.3}, {500.0, 65.0}}) {
    const double rate = shape.first, seconds = shape.second;
    SCOPED_TRACE(testing::Message() << rate << " Hz, " << seconds << " s");
    const std::string name = WriteEcg(folder, testgen::Generate(With([&](auto& o) {
                                        o.Rate = rate;
                                        o.Seconds = seconds;
                                      })));
    ASSERT_EQ(ScpAnalysis32(name.c_str(), 1), 0);
    CReader reader;
    uint16_t loaded = 0;
    ASSERT_TRUE(reader.Load(name.c_str(), &loaded, kAllSections));
    EXPECT_NEAR(reader.LeadMeasurements.Records[0].QRSDuration, 90, 12);
  }
}

}  // namespace
