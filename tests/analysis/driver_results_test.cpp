// CreateAnalysis from the caller's side: each result code from a record made for it,
// and what the file holds afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analysis_fixture.h"
#include "modules/engine_results.h"
#include "modules/test_statements.h"
#include "platform/file.h"
#include "support/waveform_builder.h"
#include "writer/record_sections.h"

namespace test {
namespace {

const std::string kCodesText = "Sinus rhythm\r\nLeft axis deviation\r\nOld anterior infarct";
const std::string kEarlier = "earlier text";
const std::string kSawEight = "mode 1 leads 1,2,3,4,5,6,7,8";

using Driver = AnalysisTest;

// Refused before any engine runs: the waveform and every section but Section 1 stay
// byte for byte; a bad language leaves even Section 1 alone.
TEST_F(Driver, RefusesBeforeTheEngine) {
  const struct {
    const char* Name;
    RecordShape Shape;
    int32_t Language;
    int16_t Result;
  } cases[] = {
      {"language7", {}, 7, ResultNotParameter},
      {"languageMinus1", {}, -1, ResultNotParameter},
      {"noSection6", Shaped([](auto& s) { s.WithRhythm = false; }), 0, ResultNotFileValid},
      {"noSection1", Shaped([](auto& s) { s.WithSection1 = false; }), 0, ResultNotFileValid},
      {"noTag14", Shaped([](auto& s) { s.SkipTags = {14}; }), 0, ResultNotFileValid},
      {"noTag25", Shaped([](auto& s) { s.SkipTags = {25}; }), 0, ResultNotFileValid},
      {"noTag26", Shaped([](auto& s) { s.SkipTags = {26}; }), 0, ResultNotFileValid},
      {"oneLead", Shaped([](auto& s) { s.Leads = {1}; }), 0, ResultNotAnalyseSignal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const Bytes before = BuildRecord(c.Shape);
    const std::string path = Write("r.scp", before);
    TestAnalysis analysis;
    analysis.GenerateAnalysisText = true;
    EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), c.Language, false), c.Result);
    EXPECT_EQ(EngineSaw(), "");
    const Bytes after = ReadWholeFile(path);
    if (c.Result == ResultNotParameter) {
      EXPECT_EQ(after, before);
      continue;
    }
    auto kept = Sections(before), now = Sections(after);
    kept.erase(0), kept.erase(1), now.erase(0), now.erase(1);
    EXPECT_EQ(now, kept);
  }
}

// Lead-off markers stop the analysis with 14 and, on request, say why in the text.
TEST_F(Driver, LeadOffMarkersStopTheAnalysis) {
  const std::string both = std::string(KTX_DRIVER_5002) + "\r\n" + KTX_DRIVER_5001;
  const struct {
    int16_t Marker, SecondMarker;
    bool Text;
    std::string Expected;
  } cases[] = {{2032, 0, true, KTX_DRIVER_5002},
               {2032, 0, false, kEarlier},
               {2033, 0, true, KTX_DRIVER_5001},
               {2032, 2033, true, both},
               {2033, 2032, false, kEarlier}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Marker << " " << c.SecondMarker << " " << c.Text);
    const std::string path = Write("m.scp", BuildRecord(Shaped([&](auto& s) {
                                     s.Text = kEarlier;
                                     s.Marker = c.Marker;
                                     s.SecondMarker = c.SecondMarker;
                                   })));
    TestAnalysis analysis;
    analysis.GenerateAnalysisText = c.Text;
    EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultNotSignal);
    EXPECT_EQ(EngineSaw(), "");
    EXPECT_EQ(InterpretationText(path), c.Expected);
  }
}

// The engine sees the eight-lead working copy in mode 1, or 2 for a short analysis;
// the text is its statements, then the noise and patient notes, only when asked for.
TEST_F(Driver, AnalysesAndStoresResultsAndText) {
  const struct {
    const char* Name;
    RecordShape Shape;
    bool Short, Text, PatientWarning;
    std::string Expected;
  } cases[] = {
      {"full", {}, false, true, false, kCodesText},
      {"shortWithoutText", Shaped([](auto& s) { s.Text = "kept"; }), true, false, false, "kept"},
      {"marker2034", Shaped([](auto& s) { s.Marker = 2034; }), false, true, false,
       kCodesText + "\r\n" + KTX_DRIVER_5003},
      {"patientIncomplete", {}, false, true, true, kCodesText + "\r\n" + KTX_DRIVER_5006},
      {"patientComplete", Shaped([](auto& s) { s.Demographics = true; }), false, true, true,
       kCodesText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = Write("a.scp", BuildRecord(c.Shape));
    TestAnalysis analysis;
    analysis.GenerateAnalysisText = c.Text;
    analysis.GeneratePatientWarningText = c.PatientWarning;
    EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, c.Short), ResultIsSuccess);
    EXPECT_EQ(EngineSaw(), c.Short ? "mode 2 leads 1,2,3,4,5,6,7,8" : kSawEight);
    EXPECT_EQ(InterpretationText(path), c.Expected);
    const auto sections = Sections(ReadWholeFile(path));
    for (int id : {1, 3, 4, 5, 6, 7, 9, 10}) EXPECT_EQ(sections.count(uint16_t(id)), 1u) << id;
  }
}

// Whatever the engine answers, no result is carried over unless it succeeded, and the
// text is the engine's explanation only for 6 and 7.
TEST_F(Driver, EngineFailuresReachTheCaller) {
  const struct {
    const char* Mode;
    bool Text;
    int16_t Result;
    std::string Expected;  // the file's text afterwards
  } cases[] = {
      {"6", true, ResultNotQRS, KTX_DRIVER_5004},
      {"7", true, ResultNotPorT, KTX_DRIVER_5005},
      {"6", false, ResultNotQRS, kEarlier},
      {"13", true, ResultNotAnalyseSignal, kEarlier},
      {"damage", true, ResultNotFile, kEarlier},
      {"damage", false, ResultNotFile, kEarlier},
      {"no-lead-I-measure", false, ResultNotFile, kEarlier},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Mode << " " << c.Text);
    // An earlier analysis, stripped first.
    const std::string path = Write("e.scp", BuildRecord(Shaped([](auto& s) {
                                     s.Text = kEarlier;
                                     s.Extra = {{7, test_engine::Section7Body()}};
                                   })));
    Steer(c.Mode);
    TestAnalysis analysis;
    analysis.GenerateAnalysisText = c.Text;
    EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), c.Result);
    EXPECT_EQ(InterpretationText(path), c.Expected);
    const auto sections = Sections(ReadWholeFile(path));
    for (int id : {4, 5, 7, 9, 10}) EXPECT_EQ(sections.count(uint16_t(id)), 0u) << id;
  }
}

TEST_F(Driver, StripsEarlierResultsKeepingSection1AndSection4Alone) {
  const std::pair<uint16_t, Bytes> earlierResults[] = {
      {4, Bytes(12, 3)}, {7, test_engine::Section7Body()}, {10, Section10Body(1, 62, 1)}};
  for (const auto& result : earlierResults) {
    const uint16_t earlier = result.first;
    const Bytes original = BuildRecord(Shaped([&](auto& s) {
      s.Extra = {result, {8, Bytes(6, 8)}};
    }));
    const std::string path = Write("s.scp", original);
    // Section 1 as the first step rebuilds it, on a copy.
    const std::string copy = Write("copy.scp", original);
    ASSERT_TRUE(TestAnalysis().UpdateTagDependants(copy.c_str()));
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

// The copy of an analysis that died is removed by the next one; a held copy, an
// analysis still running, is not.
TEST_F(Driver, RemovesOnlyTheWorkingCopiesNobodyHolds) {
  const std::string stale = (std::filesystem::path(documents) / "~KT5A1E.tmp").string();
  const std::string live = (std::filesystem::path(documents) / "~KT11FE.tmp").string();
  for (const std::string& copy : {stale, live}) std::ofstream(copy) << "copy";
  const plat::FileHandle hold = plat::HoldFile(live.c_str());
  ASSERT_NE(hold, plat::kClosedFile);
  const std::string path = Write("a.scp", BuildRecord(RecordShape()));
  EXPECT_EQ(TestAnalysis().CreateAnalysis(path.c_str(), 0, false), ResultIsSuccess);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(live));
  plat::CloseFile(hold);
  std::filesystem::remove(live);
}

TEST_F(Driver, MissingLanguageModuleFailsTheText) {
  const std::string path = Write("l.scp", BuildRecord(Shaped([](auto& s) { s.Marker = 2032; })));
  TestAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 1, false), ResultNotText);
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultNotSignal);
}

}  // namespace
}  // namespace test
