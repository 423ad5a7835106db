// Files created from the example acquisitions, read by an independent SCP-ECG reader:
// BioSig's save2gdf (biosig-tools) must find in them the leads, sampling rate and samples
// that our own reader finds (the creation tests tie those to the acquisitions).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "support/temp_folder.h"
#include "writer/writer.h"

namespace {

#ifndef _WIN32  // save2gdf runs on the build machine only

bool Shell(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// save2gdf's header (-JSON) and samples (-CSV, one row a sample, microvolts) of `scp`.
void ExpectBioSigReads(const std::string& scp) {
  SCOPED_TRACE(scp);
  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(scp.c_str(), &loaded, kAllSections));
  const SEncodedData& rhythm = reader.Rhythm;
  ASSERT_GT(rhythm.LeadCount, 0);
  ASSERT_TRUE(Shell("save2gdf -JSON '" + scp + "' > '" + scp + ".json' 2>/dev/null"));
  ASSERT_TRUE(Shell("save2gdf -CSV '" + scp + "' '" + scp + ".csv' > /dev/null 2>&1"));

  std::stringstream json;
  json << std::ifstream(scp + ".json").rdbuf();
  const std::string header = json.str();
  std::smatch match;
  ASSERT_TRUE(std::regex_search(header, match, std::regex("\"NumberOfChannels\"\\s*:\\s*(\\d+)")));
  EXPECT_EQ(std::stoi(match[1]), rhythm.LeadCount);
  ASSERT_TRUE(std::regex_search(header, match, std::regex("\"Samplingrate\"\\s*:\\s*([0-9.]+)")));
  EXPECT_NEAR(std::stod(match[1]), 1e6 / rhythm.SampleInterval, 1e-3);

  std::ifstream rows(scp + ".csv");
  std::string line;
  ASSERT_TRUE(std::getline(rows, line));  // the channel names
  int sample = 0;
  size_t mismatches = 0;
  for (; std::getline(rows, line) && !line.empty(); ++sample) {
    std::stringstream fields(line);
    std::string field;
    for (uint8_t lead = 0; std::getline(fields, field, ','); ++lead) {
      ASSERT_LT(lead, rhythm.LeadCount);
      ASSERT_LT(sample, rhythm.SampleCounts[lead]);
      const double want = rhythm.LeadSamples[lead][sample] * rhythm.AVM / 1000.0;
      if (std::fabs(std::stod(field) - want) > 0.5 && mismatches++ < 5) {
        ADD_FAILURE() << "lead " << +lead << " sample " << sample << ": " << field << " uV, not "
                      << want;
      }
    }
  }
  EXPECT_EQ(sample, rhythm.SampleCounts[0]);
  EXPECT_EQ(mismatches, 0u);
}

#endif

TEST(BioSigInterop, ReadsEveryFileCreatedFromTheExampleAcquisitions) {
#ifdef _WIN32
  GTEST_SKIP() << "BioSig's save2gdf runs on the build machine only, not under Windows";
#else
  if (!Shell("command -v save2gdf > /dev/null 2>&1")) {
    GTEST_SKIP() << "save2gdf not found: install biosig-tools (scripts/install-deps.sh)";
  }
  const std::string in = std::string(KTX_EXAMPLES_DIR) + "/acquisition/";
  test::TempFolder folder;
  const std::string scp[] = {folder.File("raw12.scp"), folder.File("16bit.scp"),
                             folder.File("8bit.scp"), folder.File("bio.scp")};
  CWriter writer;
  ASSERT_TRUE(writer.CreateFromRaw12L(scp[0].c_str(), (in + "synthetic_8lead.raw").c_str(), nullptr,
                                      5000, 500, 8));
  ASSERT_TRUE(writer.CreateFrom16bitFile(scp[1].c_str(), (in + "synthetic_16bit.bin").c_str(),
                                         nullptr, false, 1000, 500));
  ASSERT_TRUE(writer.CreateFrom8bitFile(scp[2].c_str(), (in + "synthetic_8bit.bin").c_str(),
                                        nullptr, true, 0, 0));
  ASSERT_TRUE(
      writer.CreateFromBioFile(scp[3].c_str(), (in + "synthetic_3events.bio").c_str(), nullptr));
  for (int i = 0; i < 3; ++i) ExpectBioSigReads(scp[i]);
  for (char event : {'a', 'b', 'c'})
    ExpectBioSigReads(folder.File(std::string("bio.") + event + ".scp"));
#endif
}

}  // namespace
