// Sections 3, 5 and 6 read from hand-built records.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "reader/section_parsers.h"
#include "support/open_section.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;
using test::LeadSpec;
using test::OpenSection;
using test::RecordBuilder;

std::vector<int16_t> Ramp(size_t count, int16_t first) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(first + int(i % 4000));
  return samples;
}

// Writes a record whose section number `ordinal` (in the order added) states `length`
// in its own header, leaving the pointer entry and the bytes as they are.
std::string WriteWithLength(const test::TempFolder& folder, const RecordBuilder& builder,
                            size_t ordinal, uint32_t length) {
  Bytes record = builder.Build();
  test::PutU32(record, builder.OffsetOf(ordinal) + 4, length);
  return folder.Write("patched.scp", record);
}

// Parses Section 6 (or 5) of `path` with the lead definitions of its Section 3.
bool ParseData(const std::string& path, uint16_t id, SEncodedData* data) {
  SLeadDefinitions leads;
  OpenSection s3(path, 3);
  EXPECT_TRUE(s3.Found() && ParseSection3(s3.File(), s3.Header(), &leads));
  OpenSection section(path, id);
  EXPECT_TRUE(section.Found());
  return ParseSampleData(section.File(), section.Header(), &leads, data, id == 6);
}

TEST(WaveformSection3, ReadsDefinitionsAndRefusesBadCounts) {
  test::TempFolder folder;
  const Bytes two = test::Section3Body(0x14, {{1, 5000, 1}, {11, 4000, 61}});
  const std::string path = folder.Write("s3.scp", RecordBuilder().Section(3, two).Build());
  OpenSection s3(path, 3);
  ASSERT_TRUE(s3.Found());
  SLeadDefinitions leads;
  ASSERT_TRUE(ParseSection3(s3.File(), s3.Header(), &leads));
  ASSERT_EQ(leads.Count, 2);
  EXPECT_EQ(leads.Flags, 0x14);
  EXPECT_EQ(leads.Leads[0].EndSample, 5000u);
  EXPECT_EQ(leads.Leads[1].StartSample, 11u);
  EXPECT_EQ(leads.Leads[1].LeadId, 61);
  EXPECT_FALSE(ParseSection3(plat::kClosedFile, s3.Header(), &leads));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);

  const struct {
    Bytes body;
    uint32_t error;
  } refused[] = {{{0, 0x04}, plat::kErrInvalidParameter},
                 {{255, 0x04}, plat::kErrOutOfStructures},
                 {Bytes(two.begin(), two.end() - 1), plat::kErrInvalidData},  // short read
                 {{1}, plat::kErrInvalidData}};
  for (const auto& bad : refused) {
    const std::string file = folder.Write("bad.scp", RecordBuilder().Section(3, bad.body).Build());
    OpenSection section(file, 3);
    ASSERT_TRUE(section.Found());
    EXPECT_FALSE(ParseSection3(section.File(), section.Header(), &leads));
    EXPECT_EQ(plat::LastError(), bad.error);
    EXPECT_EQ(leads.Count, 0);
    EXPECT_EQ(leads.Leads, nullptr);
  }

  // The section's own length field (which counts the header too) bounds the entries
  // even when more bytes follow: 19 leaves no room for 2 + 18 bytes.
  RecordBuilder followed;
  followed.Section(3, two).Section(7, Bytes(40, 0));
  OpenSection cut(WriteWithLength(folder, followed, 0, 19), 3);
  ASSERT_TRUE(cut.Found());
  EXPECT_FALSE(ParseSection3(cut.File(), cut.Header(), &leads));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
}

TEST(WaveformSampleData, RhythmLeadsFollowTheirDefinitions) {
  test::TempFolder folder;
  const std::vector<std::vector<int16_t>> samples = {Ramp(5000, -1000), Ramp(5000, 7)};
  const Bytes rhythm = test::SampleDataBody(2500, 2000, samples);
  auto record = [&](std::vector<LeadSpec> leads, Bytes data) {
    return folder.Write("r.scp", RecordBuilder()
                                     .Section(3, test::Section3Body(0x14, leads))
                                     .Section(6, std::move(data))
                                     .Build());
  };

  SEncodedData data;
  ASSERT_TRUE(ParseData(record({{1, 5000, 1}, {1, 5000, 2}}, rhythm), 6, &data));
  EXPECT_EQ(data.AVM, 2500);
  EXPECT_EQ(data.SampleInterval, 2000);
  ASSERT_EQ(data.LeadCount, 2);
  EXPECT_EQ(data.SampleCounts[0], 5000);
  EXPECT_EQ(data.SampleCounts[1], 5000);
  EXPECT_EQ(std::vector<int16_t>(data.LeadSamples[0], data.LeadSamples[0] + 5000), samples[0]);
  EXPECT_EQ(std::vector<int16_t>(data.LeadSamples[1], data.LeadSamples[1] + 5000), samples[1]);

  // A multi-lead rhythm lead must span exactly its definition.
  EXPECT_FALSE(ParseData(record({{1, 5000, 1}, {1, 4999, 2}}, rhythm), 6, &data));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  EXPECT_EQ(data.LeadCount, 0);
  EXPECT_EQ(data.AVM, 0);

  // One lead: the definition says how many samples, the byte length only whether any.
  const std::vector<std::vector<int16_t>> one = {samples[1]};
  ASSERT_TRUE(ParseData(record({{1, 5000, 1}}, test::SampleDataBody(5, 4, one, {2})), 6, &data));
  ASSERT_EQ(data.SampleCounts[0], 5000);
  EXPECT_EQ(data.LeadSamples[0][4999], samples[1][4999]);
  ASSERT_TRUE(ParseData(record({{1, 5000, 1}}, test::SampleDataBody(5, 4, one, {0})), 6, &data));
  EXPECT_EQ(data.SampleCounts[0], 0);
  EXPECT_EQ(data.LeadSamples[0], nullptr);

  // Too long for memory, or no sample at all: refused before reading.
  for (LeadSpec lead : {LeadSpec{1, 70000, 1}, LeadSpec{10, 9, 1}, LeadSpec{0, 0xFFFFFFFF, 1}}) {
    EXPECT_FALSE(ParseData(record({lead}, test::SampleDataBody(5, 4, one, {2})), 6, &data));
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
    EXPECT_EQ(data.LeadCount, 0);
  }
  // The file ends inside the samples.
  const Bytes cut(rhythm.begin(), rhythm.end() - 1);
  EXPECT_FALSE(ParseData(record({{1, 5000, 1}, {1, 5000, 2}}, cut), 6, &data));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  EXPECT_EQ(data.LeadCount, 0);
}

TEST(WaveformSampleData, ReferenceBeatsUseByteLengths) {
  test::TempFolder folder;
  // 1201 bytes hold 600 samples; the next beat starts right after those 1200 bytes.
  Bytes median = test::SampleDataBody(1000, 2000, {Ramp(600, 1), {-5, 2031}}, {1201, 4});
  median[4] = 1;  // difference-data and reserved bytes are carried as they are
  median[5] = 2;
  const std::string path =
      folder.Write("m.scp", RecordBuilder()
                                .Section(3, test::Section3Body(0, {{1, 5000, 1}, {1, 5000, 2}}))
                                .Section(5, median)
                                .Build());
  SEncodedData data;
  ASSERT_TRUE(ParseData(path, 5, &data));
  EXPECT_EQ(data.Encoding, 1);
  EXPECT_EQ(data.Bimodal, 2);
  ASSERT_EQ(data.SampleCounts[0], 600);
  EXPECT_EQ(data.LeadSamples[0][599], 600);
  ASSERT_EQ(data.SampleCounts[1], 2);
  EXPECT_EQ(data.LeadSamples[1][0], -5);
  EXPECT_EQ(data.LeadSamples[1][1], 2031);

  // A byte length of 1 promises data without a sample.
  const Bytes odd = test::SampleDataBody(1000, 2000, {{}, {1}}, {1, 2});
  const std::string oddPath =
      folder.Write("o.scp", RecordBuilder()
                                .Section(3, test::Section3Body(0, {{1, 5, 1}, {1, 5, 2}}))
                                .Section(5, odd)
                                .Build());
  EXPECT_FALSE(ParseData(oddPath, 5, &data));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
}

TEST(WaveformSampleData, RefusesMissingDefinitionsAndShortSections) {
  test::TempFolder folder;
  const Bytes body = test::SampleDataBody(1000, 2000, {{1, 2, 3, 4}, {5, 6, 7, 8}});  // 26 bytes
  RecordBuilder builder;
  builder.Section(3, test::Section3Body(0, {{1, 4, 1}, {1, 4, 2}}))
      .Section(6, body)
      .Section(7, Bytes(64, 0));
  SEncodedData data;
  SLeadDefinitions none;
  OpenSection plain(folder.Write("p.scp", builder.Build()), 6);
  ASSERT_TRUE(plain.Found());
  EXPECT_FALSE(ParseSampleData(plain.File(), plain.Header(), &none, &data, true));
  EXPECT_EQ(plat::LastError(), plat::kErrNoData);
  EXPECT_FALSE(ParseSampleData(plain.File(), plain.Header(), &none, nullptr, true));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);

  // Length fields too short for the header, the byte-length table and the second lead.
  for (uint32_t length : {5u, 9u, 25u}) {
    EXPECT_FALSE(ParseData(WriteWithLength(folder, builder, 1, length), 6, &data)) << length;
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
    EXPECT_EQ(data.LeadCount, 0);
  }
  EXPECT_TRUE(ParseData(WriteWithLength(folder, builder, 1, 26), 6, &data));
  EXPECT_EQ(data.LeadSamples[1][3], 8);
}

}  // namespace
