// Loading whole records into the reader object, and the stand-alone reads.
#include <gtest/gtest.h>

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
  SEncodedData rhythm, median;
  ASSERT_TRUE(CReader::ReadRhythm(path.c_str(), &rhythm));
  ASSERT_TRUE(CReader::ReadMedian(path.c_str(), &median));
  EXPECT_EQ((std::vector<int>{rhythm.LeadSamples[0][3], median.LeadSamples[1][0]}),
            (std::vector<int>{4, 8}));
  SLeadMeasurements measurements;
  ASSERT_TRUE(CReader::ReadLeadMeasurements(path.c_str(), &measurements));
  EXPECT_EQ(measurements.Count, 2);
  CGeneralInfo general;
  EXPECT_TRUE(CReader::ReadGeneral(path.c_str(), &general));
  SLeadErrors errors;
  EXPECT_TRUE(CReader::ReadLeadErrors(path.c_str(), &errors));
  EXPECT_EQ(errors.Count, 0);
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

}  // namespace
