// The rewrites around the engine: removing results, completing the working copy's
// leads and carrying results back, checked section by section.
#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "modules/engine_results.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "support/waveform_builder.h"
#include "writer/record_sections.h"

namespace test {
namespace {

Bytes BodyOf(const Bytes& section) {
  return Bytes(section.begin() + 16, section.end());
}

std::vector<int16_t> Lead(const SEncodedData& data, unsigned lead) {
  return std::vector<int16_t>(data.LeadSamples[lead],
                              data.LeadSamples[lead] + data.SampleCounts[lead]);
}

using Storing = AnalysisTest;

TEST_F(Storing, RemoveKeepsEverythingButTheResultsByteForByte) {
  RecordShape shape;
  shape.Extra = {{5, SampleDataBody(1000, 2000, {{1, 2}, {3, 4}})},
                 {7, test_engine::Section7Body()},
                 {8, Bytes(6, 8)},
                 {10, Section10Body(1, 62, 1)},
                 {12, Bytes(4, 12)}};
  const Bytes before = BuildRecord(shape);
  const std::string path = Write("r.scp", before);
  TestAnalysis analysis;
  ASSERT_TRUE(analysis.RemoveAnalysisData(path.c_str()));
  auto kept = Sections(before);
  for (uint16_t id : {uint16_t{0}, uint16_t{5}, uint16_t{7}, uint16_t{10}}) kept.erase(id);
  auto now = Sections(ReadWholeFile(path));
  now.erase(0);
  EXPECT_EQ(now, kept);
}

struct VLeadsCase {
  const char* Name;
  std::vector<uint8_t> Leads;
};

class VLeads : public AnalysisTest, public ::testing::WithParamInterface<VLeadsCase> {};

// V1 to V6 copy II when the record has it; else II is a third of I and V1 to V6 copy I.
TEST_P(VLeads, CompleteTheChestLeads) {
  const VLeadsCase& c = GetParam();
  RecordShape shape;
  shape.Leads = c.Leads;
  const std::string path = Write("v.scp", BuildRecord(shape));
  TestAnalysis analysis;
  ASSERT_TRUE(analysis.CreateVLeads(path.c_str()));
  SLeadDefinitions leads;
  SEncodedData rhythm;
  ASSERT_TRUE(CReader::ReadLeadDefinitions(path.c_str(), &leads));
  ASSERT_TRUE(CReader::ReadRhythm(path.c_str(), &rhythm));
  ASSERT_EQ(leads.Count, 8);
  const bool hadII = c.Leads.size() > 1;
  std::vector<int16_t> leadI, leadII;
  for (unsigned s = 0; s < 8; ++s) {
    leadI.push_back(RhythmSample(1, s));
    leadII.push_back(hadII ? RhythmSample(2, s) : static_cast<int16_t>(RhythmSample(1, s) / 3));
  }
  const std::vector<uint8_t> order = {1, 2, 3, 4, 5, 6, 7, 8};
  for (unsigned i = 0; i < 8; ++i) {
    EXPECT_EQ(leads.Leads[i].LeadId, order[i]);
    const std::vector<int16_t>& expected = i == 0 ? leadI : i == 1 || hadII ? leadII : leadI;
    EXPECT_EQ(Lead(rhythm, i), expected) << "lead " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Records, VLeads,
                         ::testing::Values(VLeadsCase{"leadsIandII", {1, 2}},
                                           VLeadsCase{"leadIOnly", {1}}),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST_F(Storing, CreateVLeadsNeedsLeadIOrII) {
  RecordShape shape;
  shape.Leads = {3, 4};
  const Bytes before = BuildRecord(shape);
  const std::string path = Write("v.scp", before);
  TestAnalysis analysis;
  EXPECT_FALSE(analysis.CreateVLeads(path.c_str()));
  EXPECT_EQ(plat::LastError(), plat::kErrNoData);
  EXPECT_EQ(ReadWholeFile(path), before);
}

// A working copy as the engine leaves it: eight leads, new text, every result
// section, measurement records of 66 bytes in an order of the engine's own.
Bytes WorkingCopy(const std::vector<uint16_t>& measured) {
  RecordShape shape;
  shape.Leads = {1, 2, 3, 4, 5, 6, 7, 8};
  shape.Text = "engine text";
  shape.Modified = 1;
  std::vector<std::vector<int16_t>> beats;
  for (uint8_t code : shape.Leads) beats.push_back(test_engine::MedianBeat(code));
  Bytes measurements;
  AppendU16(measurements, static_cast<uint16_t>(measured.size()));
  AppendU16(measurements, 66);
  for (uint16_t code : measured) {
    const Bytes record = test_engine::MeasurementRecord(code, 66);
    measurements.insert(measurements.end(), record.begin(), record.end());
  }
  shape.Extra = {{4, test_engine::Section4Body()},
                 {5, SampleDataBody(test_engine::kMedianAvm, test_engine::kMedianInterval, beats)},
                 {7, test_engine::Section7Body()},
                 {9, Section9Body(test_engine::kDefaultCodes)},
                 {10, measurements}};
  return BuildRecord(shape);
}

TEST_F(Storing, TransferFollowsTheFilesLeadOrder) {
  for (bool transferText : {true, false}) {
    RecordShape shape;
    shape.Leads = {2, 1};
    shape.Text = "file text";
    shape.Extra = {{8, Bytes(4, 8)}};
    const Bytes file = BuildRecord(shape);
    const Bytes copy = WorkingCopy({62, 3, 1, 61, 7, 2});
    const std::string path = Write("f.scp", file);
    const std::string copyPath = Write("w.scp", copy);
    TestAnalysis analysis;
    ASSERT_TRUE(analysis.TransferAnalysis(path.c_str(), copyPath.c_str(), transferText));

    const auto before = Sections(file);
    const auto results = Sections(copy);
    const auto now = Sections(ReadWholeFile(path));
    for (uint16_t id : {uint16_t{3}, uint16_t{6}, uint16_t{8}})
      EXPECT_EQ(now.at(id), before.at(id));
    for (uint16_t id : {uint16_t{4}, uint16_t{7}, uint16_t{9}})
      EXPECT_EQ(now.at(id), results.at(id));
    EXPECT_EQ(BodyOf(now.at(5)),
              SampleDataBody(test_engine::kMedianAvm, test_engine::kMedianInterval,
                             {test_engine::MedianBeat(2), test_engine::MedianBeat(1)}));
    // II and I in the file's order, then the limb leads only the copy has, cut to 62.
    Bytes measurements = {4, 0, 62, 0};
    for (int code : {2, 1, 62, 61}) {
      const Bytes record = test_engine::MeasurementRecord(static_cast<uint16_t>(code), 62);
      measurements.insert(measurements.end(), record.begin(), record.end());
    }
    EXPECT_EQ(BodyOf(now.at(10)), measurements);
    if (transferText) {
      uint8_t modified = 0;
      EXPECT_EQ(InterpretationText(path, nullptr, &modified), "engine text");
      EXPECT_EQ(modified, 1);
    } else {
      EXPECT_EQ(now.at(1), before.at(1));
    }
  }
}

TEST_F(Storing, TransferRefusesACopyWithoutMeasurementsOfAFileLead) {
  RecordShape shape;
  shape.Leads = {1, 2};
  const Bytes file = BuildRecord(shape);
  const std::string path = Write("f.scp", file);
  const std::string copyPath = Write("w.scp", WorkingCopy({2, 3}));
  TestAnalysis analysis;
  EXPECT_FALSE(analysis.TransferAnalysis(path.c_str(), copyPath.c_str(), true));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  EXPECT_EQ(ReadWholeFile(path), file);
}

TEST_F(Storing, Section10NeedsMeasurements) {
  TestAnalysis analysis;
  EXPECT_FALSE(analysis.CreateSec10());
  EXPECT_EQ(plat::LastError(), plat::kErrNoData);
}

}  // namespace
}  // namespace test
