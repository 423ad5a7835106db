// Sections 3, 5 and 6 read from hand-built records.
#include <gtest/gtest.h>

#include <memory>

#include "platform/errors.h"
#include "reader/section_parsers.h"
#include "support/last_error.h"
#include "support/section_file.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;
using test::LeadRange;
using test::SectionFile;

std::vector<int16_t> Ramp(size_t count, int first) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(first + int(i % 4000));
  return samples;
}

std::vector<int16_t> Lead(const SEncodedData& data, uint8_t i) {
  return std::vector<int16_t>(data.LeadSamples[i], data.LeadSamples[i] + data.SampleCounts[i]);
}

// Parses `body` as Section 6 (rhythm) or Section 5 with the lead definitions `defs`.
bool ParseData(const std::vector<LeadRange>& defs, const Bytes& body, SEncodedData* data,
               bool rhythm = true, bool last = true, uint32_t length = 0) {
  SLeadDefinitions leads;
  EXPECT_TRUE(leads.Allocate(static_cast<uint8_t>(defs.size())));
  for (size_t i = 0; i < defs.size(); ++i) {
    leads.Leads[i] = SLeadDef{defs[i].Start, defs[i].End, defs[i].Code};
  }
  auto section = std::make_unique<SectionFile>(rhythm ? 6 : 5, body, last, length);
  EXPECT_TRUE(section->Found());
  const bool ok = ParseSampleData(section->File(), section->Header(), &leads, data, rhythm);
  const uint32_t error = plat::LastError();
  section.reset();  // removing the folder may change the last error on Windows
  plat::SetLastError(error);
  return ok;
}

TEST(WaveformSection3, ReadsDefinitionsAndRefusesBadCounts) {
  const Bytes two = test::Section3Body(0x14, {{1, 5000, 1}, {11, 4000, 61}});
  SLeadDefinitions leads;
  SectionFile good(3, two);
  ASSERT_TRUE(good.Found());
  ASSERT_TRUE(ParseSection3(good.File(), good.Header(), &leads));
  ASSERT_EQ(leads.Count, 2);
  EXPECT_EQ(leads.Flags, 0x14);
  EXPECT_EQ(uint32_t{leads.Leads[0].EndSample}, 5000u);
  EXPECT_EQ(uint32_t{leads.Leads[1].StartSample}, 11u);
  EXPECT_EQ(leads.Leads[1].LeadId, 61);

  const struct {
    Bytes body;
    bool last;
    uint32_t length;
    uint32_t error;
  } refused[] = {
      {{0, 4}, true, 0, plat::kErrInvalidParameter},
      {{255, 4}, true, 0, plat::kErrOutOfStructures},
      {Bytes(two.begin(), two.end() - 1), true, 0, plat::kErrInvalidData},  // file ends
      // The section's own length field bounds the entries even when bytes follow:
      // 2 + 18 bytes do not fit a field of 19.
      {two, false, 19, plat::kErrInvalidData},
  };
  for (const auto& bad : refused) {
    SectionFile s3(3, bad.body, bad.last, bad.length);
    ASSERT_TRUE(s3.Found());
    EXPECT_FALSE(ParseSection3(s3.File(), s3.Header(), &leads));
    EXPECT_EQ(plat::LastError(), bad.error);
    EXPECT_EQ(leads.Count, 0);
    EXPECT_EQ(leads.Leads, nullptr);
  }
}

TEST(WaveformSampleData, RhythmLeadsSpanTheirDefinitions) {
  const std::vector<std::vector<int16_t>> samples = {Ramp(5000, -1000), Ramp(5000, 7)};
  const Bytes rhythm = test::SampleDataBody(2500, 2000, samples);  // 10000 bytes per lead
  SEncodedData data;
  ASSERT_TRUE(ParseData({{1, 5000, 1}, {1, 5000, 2}}, rhythm, &data));
  EXPECT_EQ(data.SampleInterval, 2000);
  ASSERT_EQ(data.LeadCount, 2);
  EXPECT_EQ(Lead(data, 0), samples[0]);
  EXPECT_EQ(Lead(data, 1), samples[1]);

  // A lead of a multi-lead rhythm must span exactly its definition; the file must hold it.
  EXPECT_TRUE(test::FailedWith(ParseData({{1, 5000, 1}, {1, 4999, 2}}, rhythm, &data),
                               plat::kErrInvalidData));
  EXPECT_EQ(data.LeadCount, 0);
  EXPECT_EQ(data.AVM, 0);
  EXPECT_FALSE(
      ParseData({{1, 5000, 1}, {1, 5000, 2}}, Bytes(rhythm.begin(), rhythm.end() - 1), &data));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  EXPECT_EQ(data.LeadCount, 0);

  // One lead: the definition says how many samples, the byte length only whether any.
  const std::vector<std::vector<int16_t>> one = {samples[1]};
  ASSERT_TRUE(ParseData({{1, 5000, 1}}, test::SampleDataBody(5, 4, one, {2}), &data));
  EXPECT_EQ(Lead(data, 0), samples[1]);
  ASSERT_TRUE(ParseData({{1, 5000, 1}}, test::SampleDataBody(5, 4, one, {0}), &data));
  EXPECT_EQ(data.SampleCounts[0], 0);
  EXPECT_EQ(data.LeadSamples[0], nullptr);
  // Longer than memory holds, ending before it starts, or spanning all 2^32 samples.
  for (LeadRange lead :
       {LeadRange{1, 70000, 1}, LeadRange{10, 9, 1}, LeadRange{0, 0xFFFFFFFF, 1}}) {
    EXPECT_TRUE(test::FailedWith(ParseData({lead}, test::SampleDataBody(5, 4, one, {2}), &data),
                                 plat::kErrInvalidData));
    EXPECT_EQ(data.LeadCount, 0);
  }
}

TEST(WaveformSampleData, ReferenceBeatsAndSectionBounds) {
  // 1201 bytes hold 600 samples; the next beat follows those 1200 bytes.
  Bytes median = test::SampleDataBody(1000, 2000, {Ramp(600, 1), {-5, 2031}}, {1201, 4});
  median[4] = 1;  // difference-data and reserved bytes are carried as they are
  median[5] = 2;
  SEncodedData data;
  ASSERT_TRUE(ParseData({{1, 5000, 1}, {1, 5000, 2}}, median, &data, false));
  EXPECT_EQ(data.Encoding, 1);
  EXPECT_EQ(data.Bimodal, 2);
  EXPECT_EQ(Lead(data, 0), Ramp(600, 1));
  EXPECT_EQ(Lead(data, 1), (std::vector<int16_t>{-5, 2031}));
  // A byte length of 1 promises data without a sample.
  EXPECT_FALSE(ParseData({{1, 5, 1}, {1, 5, 2}}, test::SampleDataBody(1, 1, {{}, {1}}, {1, 2}),
                         &data, false));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);

  // Length fields too short for the header, the byte-length table and the second lead
  // of this 26-byte body, then one just long enough.
  const Bytes body = test::SampleDataBody(1000, 2000, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  for (uint32_t length : {5u, 9u, 25u}) {
    EXPECT_FALSE(ParseData({{1, 4, 1}, {1, 4, 2}}, body, &data, true, false, length)) << length;
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
    EXPECT_EQ(data.LeadCount, 0);
  }
  ASSERT_TRUE(ParseData({{1, 4, 1}, {1, 4, 2}}, body, &data, true, false, 26));
  EXPECT_EQ(Lead(data, 1), (std::vector<int16_t>{5, 6, 7, 8}));

  SectionFile s6(6, body);
  SLeadDefinitions none;
  EXPECT_TRUE(test::FailedWith(ParseSampleData(s6.File(), s6.Header(), &none, &data, true),
                               plat::kErrNoData));
}

}  // namespace
