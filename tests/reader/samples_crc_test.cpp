// The CRC check on records written by other devices and software. Expected verdicts
// were worked out from the files' bytes by hand (an independent CRC over each stretch).
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "reader/reader.h"
#include "support/temp_folder.h"

namespace {

struct SampleVerdict {
  const char* File;
  bool Reached;
  bool Valid;
  uint32_t Error;
};

const SampleVerdict kSamples[] = {
    {"SCP-Tools__ECG_20070321_110542_191010101010.scp", true, true, 0},
    {"SCP-Tools__ECG_20170504_163507_123456789.scp", true, true, 0},
    {"ecg-contec__demo.scp", true, true, 0},
    {"ECGToolkit__Example.scp", true, true, 0},
    {"ECG-viwer-PC-80B__1.scp", true, true, 0},
    // Record length stored word-swapped: 1928331264 bytes claimed, 32768 present.
    {"healforcescpecg__62.scp", false, false, plat::kErrInvalidData},
    // Section 1 grew 5 bytes after the CRCs were made: the record CRC no longer matches.
    {"SCP-Tools__first-commit_ECG_20060620_112352_ANON000004.scp", true, false, 0},
};

TEST(SampleRecords, CheckCrcGivesTheVerdictWorkedOutByHand) {
  const std::string folder = test::SamplesFolder();
  if (folder.empty()) GTEST_SKIP() << "no shared sample records beside the checkout";
  for (const SampleVerdict& sample : kSamples) {
    const std::string path = folder + "/" + sample.File;
    bool valid = !sample.Valid;
    const bool reached = CReader::CheckCrc(path.c_str(), &valid);
    EXPECT_EQ(reached, sample.Reached) << sample.File;
    EXPECT_EQ(valid, sample.Valid) << sample.File;
    if (!sample.Reached) {
      EXPECT_EQ(plat::LastError(), sample.Error) << sample.File;
    }
  }
}

}  // namespace
