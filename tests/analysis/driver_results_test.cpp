// CreateAnalysis from the caller's side: each result code from a record made for it,
// and what the file holds afterwards.
#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "modules/engine_results.h"
#include "modules/test_statements.h"
#include "support/waveform_builder.h"
#include "writer/record_sections.h"

namespace test {
namespace {

constexpr const char* kCodesText = "Sinus rhythm\r\nLeft axis deviation\r\nOld anterior infarct";

struct Rejection {
  const char* Name;
  RecordShape Shape;
  int32_t Language;
  int16_t Result;
};

class Rejected : public AnalysisTest, public ::testing::WithParamInterface<Rejection> {};

// Refused before any engine runs: the waveform and every section but Section 1 stay
// byte for byte; a bad language leaves even Section 1 alone.
TEST_P(Rejected, BeforeTheEngine) {
  const Rejection& c = GetParam();
  const Bytes before = BuildRecord(c.Shape);
  const std::string path = Write("r.scp", before);
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), c.Language, false), c.Result);
  EXPECT_EQ(EngineSaw(), "");
  const Bytes after = ReadWholeFile(path);
  if (c.Result == ResultNotParameter) {
    EXPECT_EQ(after, before);
    return;
  }
  auto kept = Sections(before);
  auto now = Sections(after);
  kept.erase(0), kept.erase(1), now.erase(0), now.erase(1);
  EXPECT_EQ(now, kept);
}

RecordShape Without(std::vector<uint8_t> tags) {
  RecordShape shape;
  shape.SkipTags = std::move(tags);
  return shape;
}

RecordShape NoRhythm() {
  RecordShape shape;
  shape.WithRhythm = false;
  return shape;
}

RecordShape NoSection1() {
  RecordShape shape;
  shape.WithSection1 = false;
  return shape;
}

RecordShape OneLead() {
  RecordShape shape;
  shape.Leads = {1};
  return shape;
}

INSTANTIATE_TEST_SUITE_P(
    Records, Rejected,
    ::testing::Values(Rejection{"language7", {}, 7, ResultNotParameter},
                      Rejection{"languageMinus1", {}, -1, ResultNotParameter},
                      Rejection{"noSection6", NoRhythm(), 0, ResultNotFileValid},
                      Rejection{"noSection1", NoSection1(), 0, ResultNotFileValid},
                      Rejection{"noTag14", Without({14}), 0, ResultNotFileValid},
                      Rejection{"noTag25", Without({25}), 0, ResultNotFileValid},
                      Rejection{"noTag26", Without({26}), 0, ResultNotFileValid},
                      Rejection{"oneLead", OneLead(), 0, ResultNotAnalyseSignal}),
    [](const auto& param) { return std::string(param.param.Name); });

struct MarkerCase {
  const char* Name;
  int16_t Marker;
  int16_t SecondMarker;
  bool Text;
  std::string Expected;
};

class Markers : public AnalysisTest, public ::testing::WithParamInterface<MarkerCase> {};

// Lead-off markers stop the analysis with 14 and, on request, say why in the text.
TEST_P(Markers, StopTheAnalysis) {
  const MarkerCase& c = GetParam();
  RecordShape shape;
  shape.Text = "earlier text";
  shape.Marker = c.Marker;
  shape.SecondMarker = c.SecondMarker;
  const std::string path = Write("m.scp", BuildRecord(shape));
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = c.Text;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultNotSignal);
  EXPECT_EQ(EngineSaw(), "");
  EXPECT_EQ(InterpretationText(path), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rhythm, Markers,
    ::testing::Values(MarkerCase{"bit0", 2032, 0, true, KTX_DRIVER_5002},
                      MarkerCase{"bit0NoText", 2032, 0, false, "earlier text"},
                      MarkerCase{"bit1", 2033, 0, true, KTX_DRIVER_5001},
                      MarkerCase{"bits0and1", 2032, 2033, true,
                                 std::string(KTX_DRIVER_5002) + "\r\n" + KTX_DRIVER_5001},
                      MarkerCase{"bits0and1NoText", 2033, 2032, false, "earlier text"}),
    [](const auto& param) { return std::string(param.param.Name); });

using Driver = AnalysisTest;

TEST_F(Driver, AnalysesAndStoresResultsAndText) {
  const std::string path = Write("a.scp", BuildRecord({}));
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultIsSuccess);
  EXPECT_EQ(EngineSaw(), "mode 1 leads 1,2,3,4,5,6,7,8");
  EXPECT_EQ(InterpretationText(path), kCodesText);
  const auto sections = Sections(ReadWholeFile(path));
  for (int id : {1, 3, 4, 5, 6, 7, 9, 10})
    EXPECT_EQ(sections.count(static_cast<uint16_t>(id)), 1u) << id;
}

TEST_F(Driver, ShortAnalysisAsksForModeTwoAndLeavesTextAloneWithoutTheFlag) {
  RecordShape shape;
  shape.Text = "kept";
  const std::string path = Write("a.scp", BuildRecord(shape));
  TestAnalysis analysis;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, true), ResultIsSuccess);
  EXPECT_EQ(EngineSaw(), "mode 2 leads 1,2,3,4,5,6,7,8");
  EXPECT_EQ(InterpretationText(path), "kept");
}

TEST_F(Driver, Marker2034IsAnalysedAndNoted) {
  RecordShape shape;
  shape.Marker = 2034;
  const std::string path = Write("n.scp", BuildRecord(shape));
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultIsSuccess);
  EXPECT_EQ(InterpretationText(path), std::string(kCodesText) + "\r\n" + KTX_DRIVER_5003);
}

TEST_F(Driver, PatientWarningOnlyForIncompleteDemographics) {
  for (bool complete : {false, true}) {
    RecordShape shape;
    shape.Demographics = complete;
    const std::string path = Write("p.scp", BuildRecord(shape));
    TestAnalysis analysis;
    analysis.GenerateAnalysisText = true;
    analysis.GeneratePatientWarningText = true;
    EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultIsSuccess);
    EXPECT_EQ(InterpretationText(path), complete
                                            ? std::string(kCodesText)
                                            : std::string(kCodesText) + "\r\n" + KTX_DRIVER_5006);
  }
}

struct EngineCase {
  const char* Name;
  const char* Mode;
  bool Text;
  int16_t Result;
  std::string Expected;  // the file's text afterwards
};

class EngineResults : public AnalysisTest, public ::testing::WithParamInterface<EngineCase> {};

// Whatever the engine answers, no result is carried over unless it succeeded, and the
// text is the engine's explanation only for 6 and 7.
TEST_P(EngineResults, ReachTheCaller) {
  const EngineCase& c = GetParam();
  RecordShape shape;
  shape.Text = "earlier text";
  shape.Extra = {{7, test_engine::Section7Body()}};  // an earlier analysis, stripped first
  const std::string path = Write("e.scp", BuildRecord(shape));
  Steer(c.Mode);
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = c.Text;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), c.Result);
  EXPECT_EQ(InterpretationText(path), c.Expected);
  const auto sections = Sections(ReadWholeFile(path));
  for (int id : {4, 5, 7, 9, 10}) EXPECT_EQ(sections.count(static_cast<uint16_t>(id)), 0u) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EngineResults,
    ::testing::Values(EngineCase{"noQrs", "6", true, ResultNotQRS, KTX_DRIVER_5004},
                      EngineCase{"noPorT", "7", true, ResultNotPorT, KTX_DRIVER_5005},
                      EngineCase{"noQrsNoText", "6", false, ResultNotQRS, "earlier text"},
                      EngineCase{"other", "13", true, ResultNotAnalyseSignal, "earlier text"},
                      EngineCase{"damagedCopy", "damage", true, ResultNotFile, "earlier text"},
                      EngineCase{"damagedCopyNoText", "damage", false, ResultNotFile,
                                 "earlier text"},
                      EngineCase{"measurementMissing", "no-lead-I-measure", false, ResultNotFile,
                                 "earlier text"}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST_F(Driver, StripsEarlierResultsKeepingSection1AndSection4Alone) {
  const std::pair<uint16_t, Bytes> earlierResults[] = {
      {4, Bytes(12, 3)}, {7, test_engine::Section7Body()}, {10, Section10Body(1, 62, 1)}};
  for (const auto& [earlier, body] : earlierResults) {
    RecordShape shape;
    shape.Extra = {{earlier, body}, {8, Bytes(6, 8)}};
    const Bytes original = BuildRecord(shape);
    const std::string path = Write("s.scp", original);
    // Section 1 as the first step rebuilds it, on a copy.
    const std::string copy = Write("copy.scp", original);
    TestAnalysis reference;
    ASSERT_TRUE(reference.UpdateTagDependants(copy.c_str()));
    Steer("13");
    TestAnalysis analysis;
    EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultNotAnalyseSignal);
    const auto before = Sections(ReadWholeFile(copy));
    const auto after = Sections(ReadWholeFile(path));
    EXPECT_EQ(after.at(1), before.at(1));
    EXPECT_EQ(after.at(8), before.at(8));
    EXPECT_EQ(after.count(earlier), earlier == 4 ? 1u : 0u) << earlier;
    if (earlier == 4) {
      EXPECT_EQ(after.at(4), before.at(4));
    }
  }
}

TEST_F(Driver, MissingLanguageModuleFailsTheText) {
  RecordShape shape;
  shape.Marker = 2032;
  const std::string path = Write("l.scp", BuildRecord(shape));
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 1, false), ResultNotText);
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultNotSignal);
}

}  // namespace
}  // namespace test
