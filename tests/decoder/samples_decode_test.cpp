// The four sample records whose true waveforms were established independently:
// every number of their expected JSON must come out of the decoder.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <numeric>

#include "decoder/waveform_decoder.h"
#include "platform/errors.h"
#include "support/temp_folder.h"

namespace {

class SamplesDecode : public ::testing::TestWithParam<const char*> {};

TEST_P(SamplesDecode, MatchesTheExpectedWaveform) {
  const std::string folder = test::SamplesFolder();
  if (folder.empty()) GTEST_SKIP() << "no sample records beside the checkout";
  const std::string name = GetParam();
  std::ifstream in(folder + "/expected/" + name + ".json");
  ASSERT_TRUE(in) << "expected values for " << name;
  const nlohmann::json expected = nlohmann::json::parse(in);
  SDecodedWaveforms decoded;
  ASSERT_TRUE(DecodeWaveformFile((folder + "/" + name).c_str(), &decoded)) << plat::LastError();
  EXPECT_EQ(decoded.Rhythm.AVM, expected["avm_nV"].get<int>());
  EXPECT_EQ(decoded.Rhythm.SampleInterval, expected["sample_interval_us"].get<int>());
  EXPECT_EQ(decoded.Rhythm.Difference, expected["difference"].get<int>());
  EXPECT_EQ(decoded.HuffmanTables != 0, expected["huffman"].get<bool>());
  const auto& leads = expected["leads"];
  ASSERT_EQ(decoded.Rhythm.Leads.size(), leads.size());
  for (size_t i = 0; i < leads.size(); ++i) {
    SCOPED_TRACE(leads[i]["label"].get<std::string>());
    const std::vector<int16_t>& lead = decoded.Rhythm.Leads[i];
    ASSERT_EQ(lead.size(), leads[i]["n"].get<size_t>());
    ASSERT_GE(lead.size(), 8u);
    EXPECT_EQ(std::vector<int>(lead.begin(), lead.begin() + 8),
              leads[i]["first8"].get<std::vector<int>>());
    EXPECT_EQ(std::vector<int>(lead.end() - 4, lead.end()),
              leads[i]["last4"].get<std::vector<int>>());
    EXPECT_EQ(std::accumulate(lead.begin(), lead.end(), int64_t{0}),
              leads[i]["sum"].get<int64_t>());
    EXPECT_EQ(*std::min_element(lead.begin(), lead.end()), leads[i]["min"].get<int>());
    EXPECT_EQ(*std::max_element(lead.begin(), lead.end()), leads[i]["max"].get<int>());
    EXPECT_EQ(decoded.LeadDefs[i].EndSample - decoded.LeadDefs[i].StartSample + 1, lead.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Records, SamplesDecode,
                         ::testing::Values("SCP-Tools__ECG_20070321_110542_191010101010.scp",
                                           "SCP-Tools__ECG_20170504_163507_123456789.scp",
                                           "ECGToolkit__Example.scp", "ecg-contec__demo.scp"));

}  // namespace
