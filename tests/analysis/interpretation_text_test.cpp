// The interpretation text composed from the test language module's strings.
#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "modules/test_statements.h"
#include "platform/errors.h"
#include "support/waveform_builder.h"
#include "writer/record_sections.h"

namespace test {
namespace {

const std::string kBlank(3, ' ');

struct CodesCase {
  const char* Name;
  std::string Records;  // the ten 3-character records of Section 9
  bool ShortPrefix;
  std::string Expected;
};

class CodesText : public AnalysisTest, public ::testing::WithParamInterface<CodesCase> {};

TEST_P(CodesText, WalksEachCodeOnce) {
  const CodesCase& c = GetParam();
  RecordShape shape;
  shape.Text = "old";
  shape.Modified = 1;
  shape.Confirmed = 1;
  shape.Extra = {{9, Section9Body(c.Records)}};
  const std::string path = Write("c.scp", BuildRecord(shape));
  TestAnalysis analysis;
  analysis.ShortStatementPrefix = c.ShortPrefix;
  ASSERT_TRUE(analysis.CreateInterpretationCodesText(path.c_str(), 0));
  uint8_t confirmed = 9;
  uint8_t modified = 9;
  EXPECT_EQ(InterpretationText(path, &confirmed, &modified), c.Expected);
  EXPECT_EQ(confirmed, 0);
  EXPECT_EQ(modified, 0);
}

std::string Records(const std::string& rhythm, const std::string& morphology) {
  std::string records = rhythm + std::string(9 - rhythm.size(), ' ') + morphology;
  return records + std::string(30 - records.size(), ' ');
}

const std::string k10 = std::string(KTX_STATEMENT_10).substr(7);
const std::string k20 = std::string(KTX_STATEMENT_20).substr(7);
const std::string k42 = std::string(KTX_STATEMENT_42).substr(7);

INSTANTIATE_TEST_SUITE_P(
    Section9, CodesText,
    ::testing::Values(CodesCase{"duplicates", Records(" 10 10", " 10 20"), false,
                                k10 + "\r\n" + k20},
                      CodesCase{"morphologyRepeatsRhythm", Records(" 20", " 42 20 42 10"), false,
                                k20 + "\r\n" + k42 + "\r\n" + k10},
                      CodesCase{"prefixOnlyAddsNoSeparator", Records(" 30 10", " 30 42"), false,
                                k10 + "\r\n" + k42},
                      CodesCase{"unknownCodesSkipped", Records(" 99", " 77 10"), false, k10},
                      CodesCase{"nothingKnown", Records(" 30", ""), false, ""},
                      CodesCase{"shortPrefix", Records(" 10", " 30"), true,
                                std::string(KTX_STATEMENT_10).substr(3) + "\r\n" +
                                    std::string(KTX_STATEMENT_30).substr(3)}),
    [](const auto& param) { return std::string(param.param.Name); });

using Text = AnalysisTest;

TEST_F(Text, CodesNeedSection9AndLeaveTheFileAlone) {
  const Bytes before = BuildRecord({});
  const std::string path = Write("n.scp", before);
  TestAnalysis analysis;
  EXPECT_FALSE(analysis.CreateInterpretationCodesText(path.c_str(), 0));
  EXPECT_EQ(plat::LastError(), plat::kErrNoData);
  EXPECT_FALSE(analysis.CreateInterpretationText(path.c_str(), 7, kStatementNoQrs));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  EXPECT_FALSE(analysis.AddInterpretationText(path.c_str(), -1, kStatementNoQrs));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  // A string the module lacks, and a module that is not there.
  EXPECT_FALSE(analysis.CreateInterpretationText(path.c_str(), 0, 4999));
  EXPECT_FALSE(analysis.AddInterpretationText(path.c_str(), 2, kStatementNoQrs));
  EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(Text, AppendingKeepsModifiedAndAddsALineOnlyAfterText) {
  for (const std::string old : {"", "first"}) {
    RecordShape shape;
    shape.Text = old;
    shape.Modified = 1;
    shape.Confirmed = 1;
    const std::string path = Write("a.scp", BuildRecord(shape));
    TestAnalysis analysis;
    ASSERT_TRUE(analysis.AddInterpretationText(path.c_str(), 0, kStatementNoPorT));
    uint8_t confirmed = 9;
    uint8_t modified = 9;
    const std::string expected = old.empty() ? KTX_DRIVER_5005 : old + "\r\n" + KTX_DRIVER_5005;
    EXPECT_EQ(InterpretationText(path, &confirmed, &modified), expected);
    EXPECT_EQ(confirmed, 0);
    // Without text there is no tag 201 to carry the flag.
    EXPECT_EQ(modified, old.empty() ? 0 : 1);
  }
}

TEST_F(Text, CreatingReplacesAndClearsBothFlags) {
  RecordShape shape;
  shape.Text = "first";
  shape.Modified = 1;
  shape.Confirmed = 1;
  const std::string path = Write("c.scp", BuildRecord(shape));
  TestAnalysis analysis;
  ASSERT_TRUE(analysis.CreateInterpretationText(path.c_str(), 0, kStatementPatient));
  uint8_t confirmed = 9;
  uint8_t modified = 9;
  EXPECT_EQ(InterpretationText(path, &confirmed, &modified), KTX_DRIVER_5006);
  EXPECT_EQ(confirmed, 0);
  EXPECT_EQ(modified, 0);
}

TEST_F(Text, AFileWithoutSection1GainsOne) {
  RecordShape shape;
  shape.WithSection1 = false;
  const Bytes before = BuildRecord(shape);
  const std::string path = Write("s.scp", before);
  TestAnalysis analysis;
  ASSERT_TRUE(analysis.CreateInterpretationText(path.c_str(), 0, kStatementLeadBit0));
  EXPECT_EQ(InterpretationText(path), KTX_DRIVER_5002);
  auto now = Sections(ReadWholeFile(path));
  auto kept = Sections(before);
  EXPECT_EQ(now.count(1), 1u);
  EXPECT_EQ(now.at(3), kept.at(3));
  EXPECT_EQ(now.at(6), kept.at(6));
}

}  // namespace
}  // namespace test
