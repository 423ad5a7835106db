// The interpretation text composed from the test language module's strings.
#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "modules/test_statements.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/waveform_builder.h"
#include "writer/record_sections.h"

namespace test {
namespace {

// The ten 3-character records of Section 9.
std::string Records(const std::string& rhythm, const std::string& morphology) {
  std::string records = rhythm + std::string(9 - rhythm.size(), ' ') + morphology;
  return records + std::string(30 - records.size(), ' ');
}

// A record with text whose modified and confirmed flags are both set.
RecordShape Flagged(const std::string& text, std::vector<std::pair<uint16_t, Bytes>> extra = {}) {
  return Shaped([&](auto& s) {
    s.Text = text;
    s.Modified = s.Confirmed = 1;
    s.Extra = std::move(extra);
  });
}

using Text = AnalysisTest;

// Each known code once, rhythm then morphology, prefixes cut; both flags cleared.
TEST_F(Text, CodesTextWalksEachCodeOnce) {
  const std::string k10 = std::string(KTX_STATEMENT_10).substr(7);
  const std::string k20 = std::string(KTX_STATEMENT_20).substr(7);
  const std::string k42 = std::string(KTX_STATEMENT_42).substr(7);
  const struct {
    const char* Name;
    std::string Records;
    bool ShortPrefix;
    std::string Expected;
  } cases[] = {
      {"duplicates", Records(" 10 10", " 10 20"), false, k10 + "\r\n" + k20},
      {"morphologyRepeatsRhythm", Records(" 20", " 42 20 42 10"), false,
       k20 + "\r\n" + k42 + "\r\n" + k10},
      {"prefixOnlyAddsNoSeparator", Records(" 30 10", " 30 42"), false, k10 + "\r\n" + k42},
      {"unknownCodesSkipped", Records(" 99", " 77 10"), false, k10},
      {"nothingKnown", Records(" 30", ""), false, ""},
      {"shortPrefix", Records(" 10", " 30"), true,
       std::string(KTX_STATEMENT_10).substr(3) + "\r\n" + std::string(KTX_STATEMENT_30).substr(3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path =
        Write("c.scp", BuildRecord(Flagged("old", {{9, Section9Body(c.Records)}})));
    TestAnalysis analysis;
    analysis.ShortStatementPrefix = c.ShortPrefix;
    ASSERT_TRUE(analysis.CreateInterpretationCodesText(path.c_str(), 0));
    uint8_t confirmed = 9, modified = 9;
    EXPECT_EQ(InterpretationText(path, &confirmed, &modified), c.Expected);
    EXPECT_EQ(confirmed + modified, 0);
  }
}

TEST_F(Text, CodesNeedSection9AndLeaveTheFileAlone) {
  const Bytes before = BuildRecord({});
  const std::string path = Write("n.scp", before);
  TestAnalysis analysis;
  EXPECT_TRUE(
      test::FailedWith(analysis.CreateInterpretationCodesText(path.c_str(), 0), plat::kErrNoData));
  EXPECT_TRUE(test::FailedWith(analysis.CreateInterpretationText(path.c_str(), 7, kStatementNoQrs),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(analysis.AddInterpretationText(path.c_str(), -1, kStatementNoQrs),
                               plat::kErrInvalidParameter));
  // A string the module lacks, and a module that is not there.
  EXPECT_FALSE(analysis.CreateInterpretationText(path.c_str(), 0, 4999));
  EXPECT_FALSE(analysis.AddInterpretationText(path.c_str(), 2, kStatementNoQrs));
  EXPECT_EQ(ReadWholeFile(path), before);
}

// Appending adds a line only after text and keeps the modified flag, which needs a tag
// 201 to be carried; creating replaces the text and clears it. Neither stays confirmed.
TEST_F(Text, AppendingAndCreatingSetTheTextAndFlags) {
  const struct {
    bool Append;
    std::string Old;
    uint16_t Statement;
    std::string Expected;
    uint8_t Modified;
  } cases[] = {
      {true, "", kStatementNoPorT, KTX_DRIVER_5005, 0},
      {true, "first", kStatementNoPorT, std::string("first\r\n") + KTX_DRIVER_5005, 1},
      {false, "first", kStatementPatient, KTX_DRIVER_5006, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    const std::string path = Write("a.scp", BuildRecord(Flagged(c.Old)));
    TestAnalysis analysis;
    ASSERT_TRUE(c.Append ? analysis.AddInterpretationText(path.c_str(), 0, c.Statement)
                         : analysis.CreateInterpretationText(path.c_str(), 0, c.Statement));
    uint8_t confirmed = 9, modified = 9;
    EXPECT_EQ(InterpretationText(path, &confirmed, &modified), c.Expected);
    EXPECT_EQ(confirmed, 0);
    EXPECT_EQ(modified, c.Modified);
  }
}

TEST_F(Text, AFileWithoutSection1GainsOne) {
  const Bytes before = BuildRecord(Shaped([](auto& s) { s.WithSection1 = false; }));
  const std::string path = Write("s.scp", before);
  ASSERT_TRUE(TestAnalysis().CreateInterpretationText(path.c_str(), 0, kStatementLeadBit0));
  EXPECT_EQ(InterpretationText(path), KTX_DRIVER_5002);
  auto now = Sections(ReadWholeFile(path)), kept = Sections(before);
  EXPECT_EQ(now.count(1), 1u);
  EXPECT_EQ(now.at(3), kept.at(3));
  EXPECT_EQ(now.at(6), kept.at(6));
}

}  // namespace
}  // namespace test
