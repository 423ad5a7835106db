// The four sample records whose true waveforms were established independently:
// every number of their expected JSON must come out of the decoder and of the
// reader's decoding load.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <numeric>

#include "format/waveform_decoder.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "support/temp_folder.h"

namespace {

class SamplesDecode : public ::testing::TestWithParam<const char*> {};

// Every number of the expected leads, for samples held as vectors or in a reader.
void ExpectLeads(const nlohmann::json& leads, size_t count,
                 const std::function<std::vector<int16_t>(size_t)>& lead) {
  ASSERT_EQ(count, leads.size());
  for (size_t i = 0; i < leads.size(); ++i) {
    SCOPED_TRACE(leads[i]["label"].get<std::string>());
    const std::vector<int16_t> samples = lead(i);
    ASSERT_EQ(samples.size(), leads[i]["n"].get<size_t>());
    ASSERT_GE(samples.size(), 8u);
    EXPECT_EQ(std::vector<int>(samples.begin(), samples.begin() + 8),
              leads[i]["first8"].get<std::vector<int>>());
    EXPECT_EQ(std::vector<int>(samples.end() - 4, samples.end()),
              leads[i]["last4"].get<std::vector<int>>());
    EXPECT_EQ(std::accumulate(samples.begin(), samples.end(), int64_t{0}),
              leads[i]["sum"].get<int64_t>());
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), leads[i]["min"].get<int>());
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), leads[i]["max"].get<int>());
  }
}

TEST_P(SamplesDecode, MatchesTheExpectedWaveform) {
  const std::string folder = test::SamplesFolder();
  if (folder.empty()) GTEST_SKIP() << "no sample records beside the checkout";
  const std::string name = GetParam();
  const std::string path = folder + "/" + name;
  std::ifstream in(folder + "/expected/" + name + ".json");
  ASSERT_TRUE(in) << "expected values for " << name;
  const nlohmann::json expected = nlohmann::json::parse(in);
  SDecodedWaveforms decoded;
  ASSERT_TRUE(DecodeWaveformFile(path.c_str(), &decoded)) << plat::LastError();
  EXPECT_EQ(decoded.Rhythm.AVM, expected["avm_nV"].get<int>());
  EXPECT_EQ(decoded.Rhythm.SampleInterval, expected["sample_interval_us"].get<int>());
  EXPECT_EQ(decoded.Rhythm.Difference, expected["difference"].get<int>());
  EXPECT_EQ(decoded.HuffmanTables != 0, expected["huffman"].get<bool>());
  const auto& leads = expected["leads"];
  ExpectLeads(leads, decoded.Rhythm.Leads.size(), [&](size_t i) {
    EXPECT_EQ(decoded.LeadDefs[i].EndSample - decoded.LeadDefs[i].StartSample + 1,
              decoded.Rhythm.Leads[i].size());
    return decoded.Rhythm.Leads[i];
  });

  // The decoding load gives the same samples, held as plain values.
  CReader reader;
  uint16_t loaded = 0;
  std::string encoding;
  ASSERT_TRUE(reader.LoadDecoded(path.c_str(), &loaded, kAllSections, &encoding));
  const bool coded = expected["huffman"].get<bool>() || expected["difference"].get<int>() != 0;
  EXPECT_TRUE(!coded || !encoding.empty());
  ASSERT_TRUE(loaded & kSection6);
  EXPECT_EQ(reader.Rhythm.Encoding, 0);
  ExpectLeads(leads, reader.Rhythm.LeadCount, [&](size_t i) {
    const int16_t* samples = reader.Rhythm.LeadSamples[i];
    return std::vector<int16_t>(samples, samples + reader.Rhythm.SampleCounts[i]);
  });
}

INSTANTIATE_TEST_SUITE_P(Records, SamplesDecode,
                         ::testing::Values("SCP-Tools__ECG_20070321_110542_191010101010.scp",
                                           "SCP-Tools__ECG_20170504_163507_123456789.scp",
                                           "ECGToolkit__Example.scp", "ecg-contec__demo.scp"));

}  // namespace
