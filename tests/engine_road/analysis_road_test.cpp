// The whole analysis road with our own modules: the driver loads the engine and a
// language module from beside this executable, and the interpretation text of the
// analysed file is the catalogue's texts of the statements the engine wrote.
#include <gtest/gtest.h>

#include <string>

#include "analysis/analysis.h"
#include "engine/ecg_generator.h"
#include "engine/statements/catalogue.h"
#include "platform/text.h"
#include "reader/reader.h"
#include "support/section_file.h"
#include "support/temp_folder.h"

namespace {

constexpr int kJapanese = 6;

// The text the statements of Section 9 make in `language`, walked as the driver walks
// them (rhythm codes, then morphology codes not seen before).
std::string ExpectedText(const CAnalysisInfo& a, int language) {
  std::basic_string<uint16_t> walk;
  for (int i = 0; i < a.RhythmCodes; ++i)
    if (walk.find(a.RhythmCode[i]) == walk.npos) walk.push_back(a.RhythmCode[i]);
  for (int i = 0; i < a.MorphologyCodes; ++i)
    if (walk.find(a.MorphologyCode[i]) == walk.npos) walk.push_back(a.MorphologyCode[i]);
  std::string text;
  for (uint16_t code : walk) {
    const auto* entry = ktx::engine::FindStatement(code);
    if (entry == nullptr) continue;
    if (!text.empty()) text += "\r\n";
    text += entry->Text[language];
  }
  return text;
}

std::string Record(test::TempFolder& folder, const char* name) {
  testgen::Options o;
  o.Ectopic = {6};
  return folder.Write(name, testgen::ScpRecord(testgen::Generate(o)));
}

class AnalysisRoad : public testing::TestWithParam<int> {};

TEST_P(AnalysisRoad, InterpretationIsTheCatalogueTextOfTheWrittenStatements) {
  test::TempFolder folder;
  const std::string name = Record(folder, "road.scp");
  CAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  ASSERT_EQ(analysis.CreateAnalysis(name.c_str(), GetParam(), false), 0);

  CAnalysisInfo codes;
  ASSERT_TRUE(CReader::ReadAnalysis(name.c_str(), &codes));
  ASSERT_GE(codes.RhythmCodes, 1);
  EXPECT_EQ(codes.RhythmCode[0], 1);  // sinus rhythm
  CGeneralInfo general;
  ASSERT_TRUE(CReader::ReadGeneral(name.c_str(), &general));
  ASSERT_NE(general.InterpretationText, nullptr);
  std::string text;
  ASSERT_TRUE(plat::WideToUtf8(general.InterpretationText, -1, &text));
  EXPECT_EQ(text, ExpectedText(codes, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Languages, AnalysisRoad, testing::Range(0, kJapanese));

// Japanese does not fit Windows-1252, the code page of Linux hosts and of Wine's
// default locale: the text fails (-6) but the engine's results still arrive.
TEST(AnalysisRoadJapanese, FailsTheTextUnderWindows1252AndKeepsTheResults) {
  test::TempFolder folder;
  const std::string name = Record(folder, "road_ja.scp");
  CAnalysis analysis;
  analysis.GenerateAnalysisText = true;
  ASSERT_EQ(analysis.CreateAnalysis(name.c_str(), kJapanese, false), -6);
  CAnalysisInfo codes;
  ASSERT_TRUE(CReader::ReadAnalysis(name.c_str(), &codes));
  EXPECT_GE(codes.RhythmCodes, 1);
  CGeneralInfo general;
  ASSERT_TRUE(CReader::ReadGeneral(name.c_str(), &general));
  EXPECT_EQ(general.InterpretationText, nullptr);
}

}  // namespace
