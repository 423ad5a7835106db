// Files created from the example acquisitions, read by an independent SCP-ECG reader:
// BioSig's save2gdf (biosig-tools) must find the acquisition's leads, sampling rate and
// samples in them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/bio_reader.h"
#include "acquisition/raw12_reader.h"
#include "acquisition/raw16_reader.h"
#include "acquisition/raw8_reader.h"
#include "support/temp_folder.h"
#include "writer/writer.h"

namespace {

#ifndef _WIN32  // save2gdf runs on the build machine only

// What the acquisition holds, as its reader decodes it.
struct Expected {
  std::string Scp;
  std::vector<std::vector<int>> Leads;
  double Rate;
  double Microvolts;  // per count
};

Expected FromEvent(const std::string& scp, const SECGInfo& info, const SLeadObj* leads) {
  Expected expected{scp, {}, 1e6 / info.SampleInterval, info.Resolution / 1000.0};
  for (unsigned i = 0; leads != nullptr && i < leads->LeadCount; ++i) {
    const int16_t* samples = leads->Leads[i].Samples;
    expected.Leads.emplace_back(samples, samples + info.SampleCount);
  }
  return expected;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Shell(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// save2gdf's header (-JSON) and samples (-CSV, one row a sample, microvolts) of `scp`.
void ExpectBioSigReads(const Expected& expected) {
  SCOPED_TRACE(expected.Scp);
  const std::string json = expected.Scp + ".json";
  const std::string csv = expected.Scp + ".csv";
  ASSERT_TRUE(Shell("save2gdf -JSON '" + expected.Scp + "' > '" + json + "' 2>/dev/null"));
  ASSERT_TRUE(Shell("save2gdf -CSV '" + expected.Scp + "' '" + csv + "' > /dev/null 2>&1"));

  const std::string header = Slurp(json);
  std::smatch match;
  ASSERT_TRUE(std::regex_search(header, match, std::regex("\"NumberOfChannels\"\\s*:\\s*(\\d+)")));
  EXPECT_EQ(std::stoul(match[1]), expected.Leads.size());
  ASSERT_TRUE(std::regex_search(header, match, std::regex("\"Samplingrate\"\\s*:\\s*([0-9.]+)")));
  EXPECT_NEAR(std::stod(match[1]), expected.Rate, 1e-3);

  std::ifstream rows(csv);
  std::string line;
  ASSERT_TRUE(std::getline(rows, line));  // the channel names
  size_t sample = 0;
  size_t mismatches = 0;
  while (std::getline(rows, line) && !line.empty()) {
    std::stringstream fields(line);
    std::string field;
    for (size_t lead = 0; std::getline(fields, field, ','); ++lead) {
      ASSERT_LT(lead, expected.Leads.size());
      ASSERT_LT(sample, expected.Leads[lead].size());
      const double want = expected.Leads[lead][sample] * expected.Microvolts;
      if (std::fabs(std::stod(field) - want) > 0.5 && mismatches++ < 5) {
        ADD_FAILURE() << "lead " << lead << " sample " << sample << ": " << field << " uV, not "
                      << want;
      }
    }
    ++sample;
  }
  EXPECT_EQ(sample, expected.Leads.empty() ? 0 : expected.Leads[0].size());
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
  std::vector<Expected> files;
  SECGInfo info;
  CWriter writer;

  const std::string raw12 = in + "synthetic_8lead.raw";
  C12LReader reader12;
  const std::string scp12 = folder.File("raw12.scp");
  ASSERT_TRUE(writer.CreateFromRaw12L(scp12.c_str(), raw12.c_str(), nullptr, 5000, 500, 8));
  files.push_back(FromEvent(scp12, info, reader12.ReadEvent(raw12.c_str(), &info, 8, 500, 5000)));

  const std::string raw16 = in + "synthetic_16bit.bin";
  C16BitReader reader16;
  const std::string scp16 = folder.File("16bit.scp");
  ASSERT_TRUE(writer.CreateFrom16bitFile(scp16.c_str(), raw16.c_str(), nullptr, false, 1000, 500));
  files.push_back(
      FromEvent(scp16, info, reader16.ReadEvent(raw16.c_str(), &info, false, 1000, 500)));

  const std::string raw8 = in + "synthetic_8bit.bin";
  C8BitReader reader8;
  const std::string scp8 = folder.File("8bit.scp");
  ASSERT_TRUE(writer.CreateFrom8bitFile(scp8.c_str(), raw8.c_str(), nullptr, true, 0, 0));
  files.push_back(FromEvent(scp8, info, reader8.ReadEvent(raw8.c_str(), &info, true, 0, 0)));

  const std::string bio = in + "synthetic_3events.bio";
  ASSERT_TRUE(writer.CreateFromBioFile(folder.File("bio.scp").c_str(), bio.c_str(), nullptr));
  CBioReader bioReader;
  int16_t events = 0;
  ASSERT_TRUE(bioReader.ReadEvents(bio.c_str(), &events));
  ASSERT_EQ(events, 3);
  for (int16_t e = 0; e < events; ++e) {
    const std::string scp = folder.File(std::string("bio.") + char('a' + e) + ".scp");
    files.push_back(FromEvent(scp, info, bioReader.GetEvent(&info, e)));
  }

  for (const Expected& expected : files) {
    ASSERT_FALSE(expected.Leads.empty()) << expected.Scp;
    ExpectBioSigReads(expected);
  }
#endif
}

}  // namespace
