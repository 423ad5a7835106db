// Loading records written by other devices and software. What each one must give was
// worked out by hand from its bytes: which sections parse, lead counts and codes,
// patient fields, and why compressed or oddly numbered rhythm data is refused.
#include <gtest/gtest.h>

#include <string>

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

class SampleLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::SamplesFolder();
    if (folder_.empty()) GTEST_SKIP() << "no shared sample records beside the checkout";
  }
  uint16_t Load(const char* file) {
    uint16_t loaded = 0;
    EXPECT_TRUE(reader_.Load((folder_ + "/" + file).c_str(), &loaded, kAllSections)) << file;
    return loaded;
  }
  std::string folder_;
  CReader reader_;
};

TEST_F(SampleLoad, HandheldSingleLeadRecordReadsAsPlainSamples) {
  // Sections 1 (tags 25 and 26 only), 3, 6 and a Section 9 of another layout.
  EXPECT_EQ(Load("ECG-viwer-PC-80B__1.scp"),
            kSection0 | kSection1 | kSection3 | kSection6 | kSection9);
  EXPECT_EQ(reader_.HasRequiredTags(), 0);          // no tag 14
  EXPECT_EQ(reader_.Recording.AcquisitionYear, 0);  // so the recording record is not kept
  EXPECT_EQ(Text(reader_.Patient.LastName), "");
  ASSERT_EQ(reader_.LeadDefinitions.Count, 1);
  EXPECT_EQ(reader_.LeadDefinitions.Leads[0].LeadId, 101);
  // One lead: the definition (1-4500) decides, and the bytes are plain 16-bit values.
  EXPECT_EQ(reader_.Rhythm.AVM, 806);
  EXPECT_EQ(reader_.Rhythm.SampleInterval, 6666);
  ASSERT_EQ(reader_.Rhythm.SampleCounts[0], 4500);
  const int16_t* samples = reader_.Rhythm.LeadSamples[0];
  EXPECT_EQ(samples[0], 2038);
  EXPECT_EQ(samples[7], 2057);
  EXPECT_EQ(samples[4499], 2090);
  long long sum = 0;
  for (int i = 0; i < 4500; ++i) sum += samples[i];
  EXPECT_EQ(sum, 9246529);
  // Its Section 9 records hold no digits: no statement codes.
  EXPECT_EQ(reader_.Analysis.RhythmCodes + reader_.Analysis.MorphologyCodes, 0);
}

TEST_F(SampleLoad, CompressedRhythmIsRefusedWhileHeadersAndMeasurementsLoad) {
  // Huffman-coded first differences: byte lengths / 2 disagree with 1-6000.
  EXPECT_EQ(Load("SCP-Tools__ECG_20070321_110542_191010101010.scp"),
            kSection0 | kSection1 | kSection3 | kSection5 | kSection7 | kSection10);
  EXPECT_EQ(Text(reader_.Patient.LastName), "Karlsson");
  EXPECT_EQ(Text(reader_.Patient.FirstName), "Peter");
  EXPECT_EQ(Text(reader_.Patient.PatientId), "191010101010");
  EXPECT_EQ(reader_.Patient.YearOfBirth, 1968);
  EXPECT_EQ(reader_.Patient.Height, 1800);    // 180 cm
  EXPECT_EQ(reader_.Patient.Weight, 85000u);  // 85 kg
  EXPECT_EQ(reader_.Patient.Gender, 1);
  EXPECT_EQ(Text(reader_.Recording.DeviceType), "MDW14");
  EXPECT_EQ(reader_.Recording.AcquisitionHour, 11);
  EXPECT_EQ(reader_.Recording.LowPassCutoff, 35);
  EXPECT_EQ(reader_.Recording.DataFilterFlags, 2);  // 50 Hz
  EXPECT_EQ(reader_.LeadDefinitions.Count, 8);
  EXPECT_EQ(reader_.HasRhythm, 0);
  EXPECT_EQ(+reader_.Analysis.Measurements.AvRRms, 800);
  EXPECT_EQ(+reader_.LeadMeasurements.Count, 12);
  EXPECT_EQ(+reader_.LeadMeasurements.RecordSize, 62);

  EXPECT_EQ(Load("SCP-Tools__ECG_20170504_163507_123456789.scp"),
            kSection0 | kSection1 | kSection3 | kSection5 | kSection7 | kSection10);
  EXPECT_EQ(Text(reader_.Patient.LastName), "test");

  // Second differences, 12 leads; only the rhythm is refused.
  EXPECT_EQ(Load("ECGToolkit__Example.scp"),
            kSection0 | kSection1 | kSection3 | kSection5 | kSection7);
  EXPECT_EQ(Text(reader_.Patient.LastName), "Clark");
  EXPECT_EQ(reader_.Recording.DeviceID, 51);
  EXPECT_EQ(Text(reader_.Recording.DeviceType).substr(0, 6), "ELI250");
  const int16_t twelve[] = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};
  EXPECT_TRUE(reader_.HasLeadSet(12, twelve));
  EXPECT_EQ(reader_.Median.Encoding, 2);
}

TEST_F(SampleLoad, RhythmNumberedFromZeroIsRefused) {
  // Definitions 0-10000 promise 10001 samples per lead; each lead stores 10000.
  EXPECT_EQ(Load("ecg-contec__demo.scp"), kSection0 | kSection1 | kSection3);
  EXPECT_EQ(+reader_.LeadDefinitions.Leads[0].StartSample, 0u);
  EXPECT_EQ(reader_.HasRhythm, 0);
  EXPECT_EQ(Text(reader_.Patient.FirstName), "Demo");
  EXPECT_EQ(reader_.Patient.Height, 1870);
}

TEST_F(SampleLoad, DamagedRecordsLoadWhatTheyCanOrAreRefused) {
  // Section 1 reaches a tag running past its end; Sections 3 and 10 hold a lead count
  // of 0 where their shifted pointers land; Section 7 happens to parse.
  EXPECT_EQ(Load("SCP-Tools__first-commit_ECG_20060620_112352_ANON000004.scp"),
            kSection0 | kSection7);
  EXPECT_EQ(reader_.Patient.LastName, nullptr);

  uint16_t loaded = 0;
  const std::string swapped = folder_ + "/healforcescpecg__62.scp";
  EXPECT_TRUE(test::FailedWith(reader_.Load(swapped.c_str(), &loaded, kAllSections),
                               plat::kErrInvalidData));
  EXPECT_EQ(loaded, 0);
}

}  // namespace
