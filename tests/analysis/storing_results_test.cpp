// The rewrites around the engine: removing results, completing the working copy's
// leads and carrying results back, checked section by section.
#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "modules/engine_results.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "support/last_error.h"
#include "support/waveform_builder.h"
#include "writer/record_sections.h"

namespace test {
namespace {

Bytes BodyOf(const Bytes& section) {
  return Bytes(section.begin() + 16, section.end());
}

using Storing = AnalysisTest;

TEST_F(Storing, RemoveKeepsEverythingButTheResultsByteForByte) {
  const Bytes before = BuildRecord(Shaped([](auto& s) {
    s.Extra = {{5, SampleDataBody(1000, 2000, {{1, 2}, {3, 4}})},
               {7, test_engine::Section7Body()},
               {8, Bytes(6, 8)},
               {10, Section10Body(1, 62, 1)},
               {12, Bytes(4, 12)}};
  }));
  const std::string path = Write("r.scp", before);
  ASSERT_TRUE(TestAnalysis().RemoveAnalysisData(path.c_str()));
  auto kept = Sections(before), now = Sections(ReadWholeFile(path));
  for (int id : {0, 5, 7, 10}) kept.erase(uint16_t(id));
  now.erase(0);
  EXPECT_EQ(now, kept);
}

// V1 to V6 copy II when the record has it; else II is a third of I and V1 to V6 copy I.
// Without I and II there is nothing to copy, and the file stays as it was.
TEST_F(Storing, CreateVLeadsCompletesTheChestLeads) {
  for (const bool hadII : {true, false}) {
    const std::string path =
        Write("v.scp", BuildRecord(Shaped([&](auto& s) {
                s.Leads = hadII ? std::vector<uint8_t>{1, 2} : std::vector<uint8_t>{1};
              })));
    ASSERT_TRUE(TestAnalysis().CreateVLeads(path.c_str()));
    SLeadDefinitions leads;
    SEncodedData rhythm;
    ASSERT_TRUE(CReader::ReadLeadDefinitions(path.c_str(), &leads));
    ASSERT_TRUE(CReader::ReadRhythm(path.c_str(), &rhythm));
    ASSERT_EQ(leads.Count, 8);
    std::vector<int16_t> leadI, leadII;
    for (unsigned s = 0; s < 8; ++s) {
      leadI.push_back(RhythmSample(1, s));
      leadII.push_back(hadII ? RhythmSample(2, s) : static_cast<int16_t>(RhythmSample(1, s) / 3));
    }
    for (unsigned i = 0; i < 8; ++i) {
      EXPECT_EQ(leads.Leads[i].LeadId, i + 1);
      EXPECT_EQ(test::SamplesOf(rhythm, i), i == 0 ? leadI : i == 1 || hadII ? leadII : leadI) << i;
    }
  }
  const Bytes before = BuildRecord(Shaped([](auto& s) { s.Leads = {3, 4}; }));
  const std::string path = Write("v.scp", before);
  EXPECT_TRUE(test::FailedWith(TestAnalysis().CreateVLeads(path.c_str()), plat::kErrNoData));
  EXPECT_EQ(ReadWholeFile(path), before);
}

// A working copy as the engine leaves it: eight leads, new text, every result
// section, measurement records of 66 bytes in an order of the engine's own.
Bytes WorkingCopy(const std::vector<uint16_t>& measured) {
  return BuildRecord(Shaped([&](auto& s) {
    s.Leads = {1, 2, 3, 4, 5, 6, 7, 8};
    s.Text = "engine text";
    s.Modified = 1;
    s.Extra = {{4, test_engine::Section4Body()},
               {5, test_engine::MedianBody(s.Leads)},
               {7, test_engine::Section7Body()},
               {9, Section9Body(test_engine::kDefaultCodes)},
               {10, test_engine::MeasurementsBody(measured, 66)}};
  }));
}

TEST_F(Storing, TransferFollowsTheFilesLeadOrder) {
  for (bool transferText : {true, false}) {
    const Bytes file = BuildRecord(Shaped([](auto& s) {
      s.Leads = {2, 1};
      s.Text = "file text";
      s.Extra = {{8, Bytes(4, 8)}};
    }));
    const Bytes copy = WorkingCopy({62, 3, 1, 61, 7, 2});
    const std::string path = Write("f.scp", file);
    ASSERT_TRUE(
        TestAnalysis().TransferAnalysis(path.c_str(), Write("w.scp", copy).c_str(), transferText));

    const auto before = Sections(file), results = Sections(copy);
    const auto now = Sections(ReadWholeFile(path));
    for (int id : {3, 6, 8}) EXPECT_EQ(now.at(uint16_t(id)), before.at(uint16_t(id))) << id;
    for (int id : {4, 7, 9}) EXPECT_EQ(now.at(uint16_t(id)), results.at(uint16_t(id))) << id;
    EXPECT_EQ(BodyOf(now.at(5)), test_engine::MedianBody({2, 1}));
    // II and I in the file's order, then the limb leads only the copy has, cut to 62.
    EXPECT_EQ(BodyOf(now.at(10)), test_engine::MeasurementsBody({2, 1, 62, 61}, 62));
    uint8_t modified = 0;
    EXPECT_EQ(InterpretationText(path, nullptr, &modified),
              transferText ? "engine text" : "file text");
    EXPECT_EQ(modified, transferText ? 1 : 0);
    if (!transferText) {
      EXPECT_EQ(now.at(1), before.at(1));
    }
  }
}

TEST_F(Storing, TransferRefusesACopyWithoutMeasurementsOfAFileLead) {
  const Bytes file = BuildRecord({});
  const std::string path = Write("f.scp", file);
  const std::string copyPath = Write("w.scp", WorkingCopy({2, 3}));
  EXPECT_TRUE(
      test::FailedWith(TestAnalysis().TransferAnalysis(path.c_str(), copyPath.c_str(), true),
                       plat::kErrInvalidData));
  EXPECT_EQ(ReadWholeFile(path), file);
}

TEST_F(Storing, Section10NeedsMeasurements) {
  EXPECT_TRUE(test::FailedWith(TestAnalysis().CreateSec10(), plat::kErrNoData));
}

}  // namespace
}  // namespace test
