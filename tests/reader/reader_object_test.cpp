// The reader object: loading whole records, the stand-alone reads, derived limb leads
// and lead errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "support/section1_bytes.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;
using test::RecordBuilder;

std::u16string Text(const plat::OleChar* text) {
  return text == nullptr ? u"(null)" : std::u16string(reinterpret_cast<const char16_t*>(text));
}

Bytes PatientSection() {
  return test::Body({test::TextTag(0, "M\xFCller"), test::TextTag(1, "Ann"),
                     test::Tag(14, Bytes(36, 0)), test::Tag(25, {0xD0, 0x07, 1, 2}),
                     test::Tag(26, {10, 20, 30}), test::EndTag()});
}

Bytes LeadsSection() {
  return test::Section3Body(0x04 | (2 << 3), {{1, 4, 1}, {1, 4, 2}});
}

// Sections 1, 3, 5, 6, 7, 9 and 10, all readable.
Bytes FullRecord() {
  Bytes section7 = {1, 0};
  for (int value : {800, 800, 10, 20, 30, 40, 50, 60, 70, 80}) {
    test::AppendU16(section7, static_cast<uint16_t>(value));
  }
  return RecordBuilder()
      .Section(1, PatientSection())
      .Section(3, LeadsSection())
      .Section(5, test::SampleDataBody(1000, 2000, {{9, 9}, {8, 8}}))
      .Section(6, test::SampleDataBody(1000, 2000, {{1, 2, 3, 4}, {5, 6, 7, 2032}}))
      .Section(7, section7)
      .Section(9, test::Section9Body("  1 22   101101101101101101101"))
      .Section(10, test::Section10Body(2, 62, 2))
      .Build();
}

TEST(ReaderLoad, ReadsEverySectionItKnowsAndKeepsItAfterTheFileIsGone) {
  test::TempFolder folder;
  const std::string path = folder.Write("full.scp", FullRecord());
  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path.c_str(), &loaded, kAllSections));
  EXPECT_EQ(loaded, 0x06EB);
  EXPECT_EQ(reader.Loaded, 0x06EB);
  EXPECT_EQ(reader.File, plat::kClosedFile);
  EXPECT_EQ(Text(reader.Patient.LastName), u"M\u00FCller");
  EXPECT_EQ((std::vector<int>{reader.Recording.AcquisitionYear, reader.HasRequiredTags(),
                              reader.GetLeadCount(), reader.HasRhythm, reader.HasMedian,
                              reader.Median.SampleCounts[0], reader.Analysis.Measurements.AvRRms,
                              reader.Analysis.RhythmCodes, reader.Analysis.MorphologyCodes,
                              reader.LeadMeasurements.Count}),
            (std::vector<int>{2000, 1, 2, 1, 1, 2, 800, 2, 7, 2}));
  ASSERT_NE(reader.LoadedRhythm(), nullptr);
  ASSERT_NE(reader.LoadedAnalysis(), nullptr);
  const int16_t both[] = {1, 2};
  const int16_t withAvr[] = {1, 62};
  EXPECT_TRUE(reader.HasLeadSet(2, both));
  EXPECT_TRUE(test::FailedWith(reader.HasLeadSet(2, withAvr), plat::kErrSuccess));
  EXPECT_TRUE(plat::RemoveFile(path.c_str()));  // closed: the members keep what was read
  EXPECT_EQ(reader.Rhythm.LeadSamples[1][3], 2032);
  reader.Close();
  EXPECT_EQ(reader.Loaded, 0);
  EXPECT_TRUE(test::FailedWith(reader.LoadedPatient(), plat::kErrNoData));
  EXPECT_EQ(reader.GetLeadDefinitions(), nullptr);
  EXPECT_EQ(reader.HasRequiredTags(), 0);
}

TEST(ReaderLoad, LoadsOnlyWhatIsRequestedAndReadable) {
  test::TempFolder folder;
  const std::string path = folder.Write("full.scp", FullRecord());
  CReader reader;
  uint16_t loaded = 0;
  // Sample data without the lead definitions cannot be sized.
  ASSERT_TRUE(reader.Load(path.c_str(), &loaded, kSection5));
  EXPECT_EQ(loaded, kSection0);
  EXPECT_EQ(reader.HasMedian, 0);
  ASSERT_TRUE(reader.Load(path.c_str(), &loaded, kSection3 | kSection6 | 0x4000));
  EXPECT_EQ(loaded, kSection0 | kSection3 | kSection6);
  // A damaged rhythm (second lead one sample short of its definition) leaves only
  // Section 6 out; Section 1 listed with index 0 is absent.
  RecordBuilder damaged;
  damaged.Section(1, PatientSection()).Unlisted().Entry(1, 40, 0);
  damaged.Section(3, LeadsSection())
      .Section(6, test::SampleDataBody(1000, 2000, {{1, 2, 3, 4}, {5, 6, 7}}))
      .Section(7, Bytes{0, 0, 1, 0, 2, 0});
  ASSERT_TRUE(
      reader.Load(folder.Write("damaged.scp", damaged.Build()).c_str(), &loaded, kAllSections));
  EXPECT_EQ(loaded, kSection0 | kSection3 | kSection7);
  EXPECT_EQ(reader.HasRhythm + reader.Rhythm.LeadCount + reader.Recording.AcquisitionYear, 0);
  EXPECT_EQ(reader.Patient.LastName, nullptr);
}

TEST(ReaderLoad, RefusesFramingTheReaderCannotUse) {
  test::TempFolder folder;
  CReader reader;
  uint16_t loaded = 1;
  EXPECT_TRUE(
      test::FailedWith(reader.Load(nullptr, &loaded, kAllSections), plat::kErrInvalidParameter));
  EXPECT_EQ(loaded, 0);
  EXPECT_TRUE(test::FailedWith(reader.Load(folder.File("x.scp").c_str(), &loaded, 0),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(reader.LoadMemory(nullptr, 1, &loaded, kAllSections),
                               plat::kErrInvalidParameter));
  // Fewer bytes in memory than the record length says.
  const Bytes full = FullRecord();
  EXPECT_TRUE(
      test::FailedWith(reader.LoadMemory(full.data(), full.size() - 1, &loaded, kAllSections),
                       plat::kErrInvalidData));
  EXPECT_EQ(reader.File, plat::kClosedFile);
  // 256 pointer entries: the reader object refuses them, a stand-alone read does not.
  RecordBuilder many;
  many.Section(1, PatientSection());
  for (int i = 0; i < 244; ++i) many.Entry(static_cast<uint16_t>(20 + i), 0, 0);
  const std::string manyPath = folder.Write("many.scp", many.Build());
  EXPECT_TRUE(test::FailedWith(reader.Load(manyPath.c_str(), &loaded, kAllSections),
                               plat::kErrOutOfStructures));
  EXPECT_EQ(reader.Loaded, 0);
  EXPECT_EQ(reader.Index.Count, 0u);
  CPatientInfo patient;
  EXPECT_TRUE(CReader::ReadPatient(manyPath.c_str(), &patient, nullptr));
  EXPECT_EQ(Text(patient.FirstName), u"Ann");
  // The first entry must describe Section 0.
  Bytes record = RecordBuilder().Section(1, PatientSection()).Build();
  test::PutU16(record, 6 + 16, 4);
  test::PutU16(record, 0, test::Crc16(record.data() + 2, record.size() - 2));
  EXPECT_TRUE(test::FailedWith(
      reader.Load(folder.Write("first.scp", record).c_str(), &loaded, kAllSections),
      plat::kErrInvalidData));
}

TEST(ReaderClear, EmptiesMembersAndKeepsTheLastError) {
  test::TempFolder folder;
  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(folder.Write("r.scp", FullRecord()).c_str(), &loaded, kAllSections));
  plat::SetLastError(1234);
  reader.Clear(kSection0 | kSection1 | kSection6 | kSection9);
  EXPECT_EQ(plat::LastError(), 1234u);
  EXPECT_EQ(reader.Loaded, 0x06EB & ~(kSection1 | kSection6 | kSection9));
  EXPECT_EQ(reader.Index.Count, 0u);
  EXPECT_EQ(reader.Patient.LastName, nullptr);
  EXPECT_EQ(reader.Rhythm.LeadSamples, nullptr);
  // Counts reset, codes stale; the reference beats stay.
  EXPECT_EQ((std::vector<int>{reader.HasRhythm, reader.Analysis.RhythmCodes,
                              reader.Analysis.RhythmCode[0], reader.HasMedian}),
            (std::vector<int>{0, 0, 1, 1}));
}

TEST(StandAloneReads, FillTheCallersRecords) {
  test::TempFolder folder;
  const std::string path = folder.Write("full.scp", FullRecord());
  EXPECT_EQ(CReader::ReadLeadCount(path.c_str()), 2);
  const int16_t leads[] = {2, 1};
  const int16_t missing[] = {1, 64};
  EXPECT_TRUE(CReader::ReadLeadSet(path.c_str(), 2, leads));
  EXPECT_TRUE(test::FailedWith(CReader::ReadLeadSet(path.c_str(), 2, missing), plat::kErrSuccess));
  // Section 3 sizes the rhythm read on its own.
  SEncodedData rhythm;
  ASSERT_TRUE(CReader::ReadRhythm(path.c_str(), &rhythm));
  EXPECT_EQ(rhythm.LeadSamples[1][3], 2032);
  CAnalysisInfo analysis;
  ASSERT_TRUE(CReader::ReadAnalysis(path.c_str(), &analysis));
  EXPECT_EQ(analysis.RhythmCodes, 2);
  EXPECT_EQ(analysis.RhythmCode[1], 22);
  // Without Section 9 the analysis reads with no codes; without Section 7 it fails.
  analysis.RhythmCode[0] = 5;
  const Bytes noCodes = RecordBuilder().Section(7, Bytes{0, 0, 1, 0, 2, 0}).Build();
  ASSERT_TRUE(CReader::ReadAnalysis(folder.Write("n.scp", noCodes).c_str(), &analysis));
  EXPECT_EQ((std::vector<int>{analysis.RhythmCodes, analysis.RhythmCode[0],
                              analysis.Measurements.AvRRms}),
            (std::vector<int>{0, 0, 1}));
  const Bytes noSection7 = RecordBuilder().Section(9, Bytes(30, ' ')).Build();
  EXPECT_FALSE(CReader::ReadAnalysis(folder.Write("m.scp", noSection7).c_str(), &analysis));
  EXPECT_TRUE(test::FailedWith(CReader::ReadPatient(path.c_str(), nullptr, nullptr),
                               plat::kErrInvalidParameter));
  EXPECT_EQ(CReader::ReadLeadCount(nullptr), 0);
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  EXPECT_TRUE(
      test::FailedWith(CReader::ReadRhythm(path.c_str(), nullptr), plat::kErrInvalidParameter));
}

using Samples = std::vector<std::vector<int16_t>>;

// Loads a record of lead definitions, rhythm and reference beats (each when given).
void AsLoaded(CReader& reader, uint8_t flags, const std::vector<test::LeadRange>& leads,
              const Samples& rhythm, const Samples& median = {}) {
  RecordBuilder builder;
  builder.Section(3, test::Section3Body(flags, leads));
  if (!median.empty()) builder.Section(5, test::SampleDataBody(1000, 2000, median));
  if (!rhythm.empty()) builder.Section(6, test::SampleDataBody(1000, 2000, rhythm));
  test::TempFolder folder;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(folder.Write("r.scp", builder.Build()).c_str(), &loaded, kAllSections));
  ASSERT_EQ(loaded, kSection0 | kSection3 | (median.empty() ? 0 : kSection5) |
                        (rhythm.empty() ? 0 : kSection6));
}

// Lead code and error bits of each entry of the lead error table.
std::vector<int> Errors(const SLeadErrors& table) {
  std::vector<int> out;
  for (uint8_t i = 0; i < table.Count; ++i) {
    out.push_back(table.Errors[i].LeadId);
    out.push_back(table.Errors[i].ErrorBits);
  }
  return out;
}

TEST(DerivedLimbLeads, ComputedFromIAndIIWithMarkerPrecedence) {
  CReader reader;
  // Samples: plain values; truncation toward zero; 2033 in I; 2034 in I, 2032 in II;
  // 2034 in I, 2033 in II.
  AsLoaded(reader, 0x14, {{1, 5, 1}, {1, 5, 2}},
           {{100, 3, 2033, 2034, 2034}, {300, -3, 100, 2032, 2033}}, {{100, 3, 2033}, {300, -3}});
  ASSERT_TRUE(reader.GenerateCalculatedLeads());
  ASSERT_EQ(reader.LeadDefinitions.Count, 6);
  EXPECT_EQ(reader.LeadDefinitions.Flags, (6 << 3) | 0x04);
  const std::vector<int16_t> expected[4] = {{200, -6, 2033, 2032, 2033},   // III = II - I
                                            {-200, 0, 2033, 2032, 2033},   // aVR = -II/2 - I/2
                                            {-50, 4, 2033, 2032, 2033},    // aVL = I - II/2
                                            {250, -4, 2033, 2032, 2033}};  // aVF = -I/2 + II
  for (uint8_t k = 0; k < 4; ++k) {
    EXPECT_EQ(reader.LeadDefinitions.Leads[2 + k].LeadId, 61 + k);
    EXPECT_EQ(uint32_t{reader.LeadDefinitions.Leads[2 + k].EndSample}, 5u);
    EXPECT_EQ(test::SamplesOf(reader.Rhythm, 2 + k), expected[k]);
    // Reference beats: as long as the shorter source beat.
    EXPECT_EQ(test::SamplesOf(reader.Median, 2 + k),
              std::vector<int16_t>(expected[k].begin(), expected[k].begin() + 2));
  }
  // The lead errors are rebuilt for all six leads: I holds 2033 and 2034, II 2032 and 2033.
  EXPECT_EQ(Errors(reader.LeadErrors), (std::vector<int>{1, 6, 2, 3, 61, 3, 62, 3, 63, 3, 64, 3}));
  // Reference beats alone: the leads are derived without marker handling; the lead
  // errors cannot be.
  CReader beats;
  AsLoaded(beats, 0, {{1, 4, 1}, {1, 4, 2}}, {}, {{100, 2033}, {300, 100}});
  ASSERT_TRUE(beats.GenerateCalculatedLeads());
  EXPECT_EQ(test::SamplesOf(beats.Median, 2), (std::vector<int16_t>{200, -1933}));
  EXPECT_EQ(beats.LeadErrors.Count, 0);
}

TEST(DerivedCalculateLead, ChecksSourcesAndSumsTheCommonRange) {
  CReader reader;
  // I covers samples 1-4, II 3-6, V1 1-4; lead code 0 is in the table too.
  AsLoaded(reader, 0xFC, {{1, 4, 1}, {3, 6, 2}, {1, 4, 3}, {1, 4, 0}},
           {{10, 20, -20000, 2000}, {-30000, 100, 7, 8}, {1, 1, 1, -500}, {0, 0, 0, 0}});
  const double add[] = {1.0, 1.0, 1.0};
  const struct {
    int16_t target;
    std::vector<int16_t> sources;
    uint32_t error;
  } refused[] = {{70, {1, 9}, plat::kErrNoData},  // no such source
                 {70, {1, 0}, plat::kErrInvalidParameter},
                 {70, {1, 300}, plat::kErrInvalidParameter},
                 {300, {1, 2}, plat::kErrInvalidParameter}};
  for (const auto& bad : refused) {
    EXPECT_TRUE(test::FailedWith(reader.CalculateLead(bad.target, uint8_t(bad.sources.size()), add,
                                                      bad.sources.data(), true),
                                 bad.error));
  }
  const int16_t ids[] = {1, 2, 3};
  EXPECT_TRUE(reader.CalculateLead(3, 2, add, ids, true));  // V1 is there already
  EXPECT_EQ(reader.LeadDefinitions.Count, 4);
  // Range 3-4: I[2..3] + II[0..1] + V1[2..3]. At sample 3, -20000 - 30000 wraps to
  // 15536; that and the 2100 of sample 4 are past 2031, so V1 leaves them alone.
  ASSERT_TRUE(reader.CalculateLead(70, 3, add, ids, true));
  EXPECT_EQ(uint32_t{reader.LeadDefinitions.Leads[4].StartSample}, 3u);
  EXPECT_EQ(test::SamplesOf(reader.Rhythm, 4), (std::vector<int16_t>{-50000 + 65536, 2100}));
  EXPECT_EQ(reader.LeadDefinitions.Flags, 0x04);  // 31 simultaneous leads + 1 wraps to 0
  const double minus[] = {1.0, -1.0};
  const int16_t iiThenI[] = {2, 1};
  ASSERT_TRUE(reader.CalculateLead(71, 2, minus, iiThenI, false));
  EXPECT_EQ(test::SamplesOf(reader.Rhythm, 5), (std::vector<int16_t>{-10000, -1900}));
  const double wild[] = {1e300, std::nan("")};  // any coefficient gives a defined value
  EXPECT_TRUE(reader.CalculateLead(72, 2, wild, iiThenI, false));
  // Disjoint ranges, or a source without rhythm samples.
  CReader apart;
  AsLoaded(apart, 0, {{1, 2, 1}, {3, 4, 2}, {1, 2, 3}}, {{1, 2}, {3, 4}, {5, 6}});
  apart.Rhythm.FreeLead(2);
  EXPECT_TRUE(test::FailedWith(apart.CalculateLead(61, 2, minus, iiThenI, true), plat::kErrNoData));
  const int16_t withV1[] = {1, 3};
  EXPECT_FALSE(apart.CalculateLead(61, 2, minus, withV1, true));
  EXPECT_EQ(apart.LeadDefinitions.Count, 3);
}

TEST(DerivedLeadErrors, OnlyTheThreeMarkerValuesSetBits) {
  CReader reader;
  AsLoaded(reader, 0, {{1, 4, 1}, {1, 4, 2}, {1, 4, 3}},
           {{2032, 5, 2034, 2032}, {2031, 2035, 2036, -2033}, {0, 2033, 0, 0}});
  ASSERT_TRUE(reader.GenerateLeadErrors());
  EXPECT_EQ(Errors(reader.LeadErrors), (std::vector<int>{1, 5, 2, 0, 3, 2}));
  reader.Loaded = kSection0 | kSection3;  // no rhythm: emptied, fails
  EXPECT_TRUE(test::FailedWith(reader.GenerateLeadErrors(), plat::kErrNoData));
  EXPECT_EQ(reader.LeadErrors.Count, 0);
}

}  // namespace
