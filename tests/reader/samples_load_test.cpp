// Records written by other devices and software. What each one must give was worked
// out by hand from its bytes (an independent CRC over each stretch, the sections that
// parse, lead counts and codes, patient fields), and why compressed or oddly numbered
// rhythm data is refused.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

namespace {

std::string Text(const plat::OleChar* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text);
  return out;
}

const uint16_t kHeaders = kSection0 | kSection1 | kSection3;
const struct {
  const char* File;
  uint16_t Loaded;  // 0: the load fails with 13
  bool CrcValid;
} kSamples[] = {
    // Tags 25 and 26 only, Section 3 and 6, and a Section 9 of another layout.
    {"ECG-viwer-PC-80B__1.scp", kHeaders | kSection6 | kSection9, true},
    // Huffman-coded first differences: byte lengths / 2 disagree with 1-6000.
    {"SCP-Tools__ECG_20070321_110542_191010101010.scp",
     kHeaders | kSection5 | kSection7 | kSection10, true},
    {"SCP-Tools__ECG_20170504_163507_123456789.scp", kHeaders | kSection5 | kSection7 | kSection10,
     true},
    // Second differences, 12 leads; only the rhythm is refused.
    {"ECGToolkit__Example.scp", kHeaders | kSection5 | kSection7, true},
    // Definitions 0-10000 promise 10001 samples per lead; each lead stores 10000.
    {"ecg-contec__demo.scp", kHeaders, true},
    // Section 1 grew 5 bytes after the CRCs were made, so the record CRC no longer
    // matches; Section 1 reaches a tag running past its end, Sections 3 and 10 hold a
    // lead count of 0 where their shifted pointers land, Section 7 happens to parse.
    {"SCP-Tools__first-commit_ECG_20060620_112352_ANON000004.scp", kSection0 | kSection7, false},
    // Record length stored word-swapped: 1928331264 bytes claimed, 32768 present.
    {"healforcescpecg__62.scp", 0, false},
};

class SampleRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::SamplesFolder();
    if (folder_.empty()) GTEST_SKIP() << "no shared sample records beside the checkout";
  }
  void Load(const char* file) {
    ASSERT_TRUE(reader_.Load(Path(file).c_str(), &loaded_, kAllSections));
  }
  std::string Path(const char* file) const { return folder_ + "/" + file; }
  std::string folder_;
  CReader reader_;
  uint16_t loaded_ = 0;
};

TEST_F(SampleRecords, LoadTheSectionsAndGiveTheCrcVerdictWorkedOutByHand) {
  for (const auto& sample : kSamples) {
    SCOPED_TRACE(sample.File);
    bool valid = !sample.CrcValid;
    const bool reached = CReader::CheckCrc(Path(sample.File).c_str(), &valid);
    EXPECT_EQ(reached, sample.Loaded != 0);
    EXPECT_EQ(valid, sample.CrcValid);
    if (sample.Loaded == 0) {
      EXPECT_TRUE(test::FailedWith(reader_.Load(Path(sample.File).c_str(), &loaded_, kAllSections),
                                   plat::kErrInvalidData));
    } else {
      EXPECT_TRUE(reader_.Load(Path(sample.File).c_str(), &loaded_, kAllSections));
    }
    EXPECT_EQ(loaded_, sample.Loaded);
    // The same from memory.
    const test::Bytes bytes = test::ReadWholeFile(Path(sample.File));
    EXPECT_EQ(reader_.LoadMemory(bytes.data(), bytes.size(), &loaded_, kAllSections),
              sample.Loaded != 0);
    EXPECT_EQ(loaded_, sample.Loaded);
  }
}

TEST_F(SampleRecords, HandheldSingleLeadRecordReadsAsPlainSamples) {
  Load("ECG-viwer-PC-80B__1.scp");
  // No tag 14, so the recording record is not kept.
  EXPECT_EQ(reader_.HasRequiredTags() + reader_.Recording.AcquisitionYear, 0);
  EXPECT_EQ(Text(reader_.Patient.LastName), "");
  ASSERT_EQ(reader_.LeadDefinitions.Count, 1);
  EXPECT_EQ(reader_.LeadDefinitions.Leads[0].LeadId, 101);
  // One lead: the definition (1-4500) decides, and the bytes are plain 16-bit values.
  EXPECT_EQ(reader_.Rhythm.AVM, 806);
  EXPECT_EQ(reader_.Rhythm.SampleInterval, 6666);
  ASSERT_EQ(reader_.Rhythm.SampleCounts[0], 4500);
  const int16_t* samples = reader_.Rhythm.LeadSamples[0];
  EXPECT_EQ((std::vector<int>{samples[0], samples[7], samples[4499]}),
            (std::vector<int>{2038, 2057, 2090}));
  EXPECT_EQ(std::accumulate(samples, samples + 4500, 0LL), 9246529);
  // Its Section 9 records hold no digits: no statement codes.
  EXPECT_EQ(reader_.Analysis.RhythmCodes + reader_.Analysis.MorphologyCodes, 0);
}

TEST_F(SampleRecords, HeadersAndMeasurementsOfTheRecordsWithRefusedRhythm) {
  Load("SCP-Tools__ECG_20070321_110542_191010101010.scp");
  const CPatientInfo& p = reader_.Patient;
  EXPECT_EQ(Text(p.LastName) + "|" + Text(p.FirstName) + "|" + Text(p.PatientId) + "|" +
                Text(reader_.Recording.DeviceType),
            "Karlsson|Peter|191010101010|MDW14");
  // 180 cm, 85 kg, 50 Hz.
  EXPECT_EQ((std::vector<int>{p.YearOfBirth, p.Height, int(p.Weight), p.Gender,
                              reader_.Recording.AcquisitionHour, reader_.Recording.LowPassCutoff,
                              reader_.Recording.DataFilterFlags, reader_.LeadDefinitions.Count,
                              reader_.HasRhythm, reader_.Analysis.Measurements.AvRRms,
                              reader_.LeadMeasurements.Count, reader_.LeadMeasurements.RecordSize}),
            (std::vector<int>{1968, 1800, 85000, 1, 11, 35, 2, 8, 0, 800, 12, 62}));
  Load("ECGToolkit__Example.scp");
  EXPECT_EQ(Text(reader_.Patient.LastName), "Clark");
  EXPECT_EQ(reader_.Recording.DeviceID, 51);
  EXPECT_EQ(Text(reader_.Recording.DeviceType).substr(0, 6), "ELI250");
  const int16_t twelve[] = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};
  EXPECT_TRUE(reader_.HasLeadSet(12, twelve));
  EXPECT_EQ(reader_.Median.Encoding, 2);
  Load("ecg-contec__demo.scp");
  EXPECT_EQ(+reader_.LeadDefinitions.Leads[0].StartSample, 0u);
  EXPECT_EQ(Text(reader_.Patient.FirstName), "Demo");
  EXPECT_EQ(reader_.Patient.Height, 1870);
}

}  // namespace
