// Derived limb leads and lead errors on reader members set up as a load leaves them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "support/last_error.h"
#include "support/waveform_builder.h"

namespace {

using Samples = std::vector<std::vector<int16_t>>;

void Fill(SEncodedData& data, const Samples& leads) {
  ASSERT_TRUE(data.Allocate(static_cast<uint8_t>(leads.size())));
  for (uint8_t i = 0; i < leads.size(); ++i) {
    if (leads[i].empty()) continue;
    ASSERT_TRUE(data.AllocateLead(i, static_cast<uint16_t>(leads[i].size())));
    std::copy(leads[i].begin(), leads[i].end(), data.LeadSamples[i]);
  }
}

// Lead definitions, rhythm and reference beats (each when given), flagged as loaded.
void AsLoaded(CReader& reader, uint8_t flags, const std::vector<test::LeadRange>& leads,
              const Samples& rhythm, const Samples& median = {}) {
  ASSERT_TRUE(reader.LeadDefinitions.Allocate(static_cast<uint8_t>(leads.size())));
  reader.LeadDefinitions.Flags = flags;
  for (size_t i = 0; i < leads.size(); ++i) {
    reader.LeadDefinitions.Leads[i] = SLeadDef{leads[i].Start, leads[i].End, leads[i].Code};
  }
  reader.Loaded = kSection0 | kSection3;
  if (!rhythm.empty()) {
    Fill(reader.Rhythm, rhythm);
    reader.HasRhythm = 1;
    reader.Loaded |= kSection6;
  }
  if (!median.empty()) {
    Fill(reader.Median, median);
    reader.HasMedian = 1;
    reader.Loaded |= kSection5;
  }
}

std::vector<int16_t> Lead(const SEncodedData& data, uint8_t i) {
  return std::vector<int16_t>(data.LeadSamples[i], data.LeadSamples[i] + data.SampleCounts[i]);
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
  // Samples: plain values; truncation toward zero; 2033 in I; 2034 in I, 2032 in II.
  AsLoaded(reader, 0x14, {{1, 4, 1}, {1, 4, 2}}, {{100, 3, 2033, 2034}, {300, -3, 100, 2032}},
           {{100, 3, 2033}, {300, -3}});
  ASSERT_TRUE(reader.GenerateCalculatedLeads());
  ASSERT_EQ(reader.LeadDefinitions.Count, 6);
  EXPECT_EQ(reader.LeadDefinitions.Flags, (6 << 3) | 0x04);
  const std::vector<int16_t> expected[4] = {{200, -6, 2033, 2032},   // III = II - I
                                            {-200, 0, 2033, 2032},   // aVR = -II/2 - I/2
                                            {-50, 4, 2033, 2032},    // aVL = I - II/2
                                            {250, -4, 2033, 2032}};  // aVF = -I/2 + II
  for (uint8_t k = 0; k < 4; ++k) {
    EXPECT_EQ(reader.LeadDefinitions.Leads[2 + k].LeadId, 61 + k);
    EXPECT_EQ(uint32_t{reader.LeadDefinitions.Leads[2 + k].EndSample}, 4u);
    EXPECT_EQ(Lead(reader.Rhythm, 2 + k), expected[k]);
    // Reference beats: as long as the shorter source beat.
    EXPECT_EQ(Lead(reader.Median, 2 + k),
              std::vector<int16_t>(expected[k].begin(), expected[k].begin() + 2));
  }
  // The lead errors are rebuilt for all six leads: I holds 2033 and 2034, II 2032.
  EXPECT_EQ(Errors(reader.LeadErrors), (std::vector<int>{1, 6, 2, 1, 61, 3, 62, 3, 63, 3, 64, 3}));

  // Reference beats alone: the leads are derived without marker handling; the lead
  // errors cannot be.
  CReader beats;
  AsLoaded(beats, 0, {{1, 4, 1}, {1, 4, 2}}, {}, {{100, 2033}, {300, 100}});
  ASSERT_TRUE(beats.GenerateCalculatedLeads());
  EXPECT_EQ(Lead(beats.Median, 2), (std::vector<int16_t>{200, -1933}));
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
  EXPECT_EQ(Lead(reader.Rhythm, 4), (std::vector<int16_t>{-50000 + 65536, 2100}));
  EXPECT_EQ(reader.LeadDefinitions.Flags, 0x04);  // 31 simultaneous leads + 1 wraps to 0
  const double minus[] = {1.0, -1.0};
  const int16_t iiThenI[] = {2, 1};
  ASSERT_TRUE(reader.CalculateLead(71, 2, minus, iiThenI, false));
  EXPECT_EQ(Lead(reader.Rhythm, 5), (std::vector<int16_t>{-10000, -1900}));
  const double wild[] = {1e300, std::nan("")};  // any coefficient gives a defined value
  EXPECT_TRUE(reader.CalculateLead(72, 2, wild, iiThenI, false));

  // Disjoint ranges, or a source without rhythm samples.
  CReader apart;
  AsLoaded(apart, 0, {{1, 2, 1}, {3, 4, 2}, {1, 2, 3}}, {{1, 2}, {3, 4}, {}});
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
