// Sections 3, 5, 6, 7, 9 and 10 read from hand-built records.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "format/sample_sections.h"
#include "format/section10.h"
#include "format/section3.h"
#include "format/section7.h"
#include "format/section9.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/section_file.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;
using test::LeadRange;
using Codes = std::vector<uint16_t>;

// Runs `parse(file, header)` on `body` written as section `id` (see SectionFile for
// `last` and `length`), keeping the last error it left.
template <typename Parse>
bool InSection(uint16_t id, const Bytes& body, Parse parse, bool last = true, uint32_t length = 0) {
  auto section = std::make_unique<test::SectionFile>(id, body, last, length);
  EXPECT_TRUE(section->Found());
  const bool ok = parse(section->File(), section->Header());
  const uint32_t error = plat::LastError();
  section.reset();  // removing the folder may change the last error on Windows
  plat::SetLastError(error);
  return ok;
}

std::vector<int16_t> Ramp(size_t count, int first) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(first + int(i % 4000));
  return samples;
}

// The bytes of a record structure, to compare with the file's.
template <typename T>
Bytes BytesOf(const T& value) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
  return Bytes(bytes, bytes + sizeof(T));
}

// Parses `body` as Section 6 (rhythm) or Section 5 with the lead definitions `defs`.
bool ParseData(const std::vector<LeadRange>& defs, const Bytes& body, SEncodedData* data,
               bool rhythm = true, bool last = true, uint32_t length = 0) {
  SLeadDefinitions leads;
  EXPECT_TRUE(leads.Allocate(static_cast<uint8_t>(defs.size())));
  for (size_t i = 0; i < defs.size(); ++i) {
    leads.Leads[i] = SLeadDef{defs[i].Start, defs[i].End, defs[i].Code};
  }
  return InSection(
      rhythm ? 6 : 5, body,
      [&](plat::FileHandle f, const uint8_t* h) {
        return ParseSampleData(f, h, &leads, data, rhythm);
      },
      last, length);
}

TEST(WaveformSection3, ReadsDefinitionsAndRefusesBadCounts) {
  const Bytes two = test::Section3Body(0x14, {{1, 5000, 1}, {11, 4000, 61}});
  SLeadDefinitions leads;
  auto parse = [&leads](plat::FileHandle f, const uint8_t* h) {
    return ParseSection3(f, h, &leads);
  };
  ASSERT_TRUE(InSection(3, two, parse));
  ASSERT_EQ(leads.Count, 2);
  EXPECT_EQ(leads.Flags, 0x14);
  EXPECT_EQ(Bytes(reinterpret_cast<const uint8_t*>(leads.Leads),
                  reinterpret_cast<const uint8_t*>(leads.Leads + 2)),
            Bytes(two.begin() + 2, two.end()));
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
    EXPECT_TRUE(test::FailedWith(InSection(3, bad.body, parse, bad.last, bad.length), bad.error));
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
  EXPECT_EQ(test::SamplesOf(data, 0), samples[0]);
  EXPECT_EQ(test::SamplesOf(data, 1), samples[1]);
  // A lead of a multi-lead rhythm must span exactly its definition; the file must hold it.
  EXPECT_TRUE(test::FailedWith(ParseData({{1, 5000, 1}, {1, 4999, 2}}, rhythm, &data),
                               plat::kErrInvalidData));
  EXPECT_EQ(data.LeadCount + data.AVM, 0);
  EXPECT_TRUE(test::FailedWith(
      ParseData({{1, 5000, 1}, {1, 5000, 2}}, Bytes(rhythm.begin(), rhythm.end() - 1), &data),
      plat::kErrInvalidData));
  EXPECT_EQ(data.LeadCount, 0);
  // One lead: the definition says how many samples, the byte length only whether any.
  const std::vector<std::vector<int16_t>> one = {samples[1]};
  ASSERT_TRUE(ParseData({{1, 5000, 1}}, test::SampleDataBody(5, 4, one, {2}), &data));
  EXPECT_EQ(test::SamplesOf(data, 0), samples[1]);
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
  EXPECT_EQ(test::SamplesOf(data, 0), Ramp(600, 1));
  EXPECT_EQ(test::SamplesOf(data, 1), (std::vector<int16_t>{-5, 2031}));
  // A byte length of 1 promises data without a sample.
  EXPECT_TRUE(
      test::FailedWith(ParseData({{1, 5, 1}, {1, 5, 2}},
                                 test::SampleDataBody(1, 1, {{}, {1}}, {1, 2}), &data, false),
                       plat::kErrInvalidData));
  // Length fields too short for the header, the byte-length table and the second lead
  // of this 26-byte body, then one just long enough.
  const Bytes body = test::SampleDataBody(1000, 2000, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  for (uint32_t length : {5u, 9u, 25u}) {
    EXPECT_TRUE(test::FailedWith(
        ParseData({{1, 4, 1}, {1, 4, 2}}, body, &data, true, false, length), plat::kErrInvalidData))
        << length;
    EXPECT_EQ(data.LeadCount, 0);
  }
  ASSERT_TRUE(ParseData({{1, 4, 1}, {1, 4, 2}}, body, &data, true, false, 26));
  EXPECT_EQ(test::SamplesOf(data, 1), (std::vector<int16_t>{5, 6, 7, 8}));
  SLeadDefinitions none;
  EXPECT_TRUE(test::FailedWith(InSection(6, body,
                                         [&](plat::FileHandle f, const uint8_t* h) {
                                           return ParseSampleData(f, h, &none, &data, true);
                                         }),
                               plat::kErrNoData));
}

Bytes Section7Body(uint8_t qrsTypes, std::vector<uint16_t> words) {
  Bytes body = {qrsTypes, 3};
  for (uint16_t word : words) test::AppendU16(body, word);
  return body;
}

TEST(MeasureSection7, ReadsCountsIntervalsAndTheFirstBeatType) {
  SGlobalMeasurements m;
  auto parse = [&m](plat::FileHandle f, const uint8_t* h) { return ParseSection7(f, h, &m); };
  // Two beat types: only the first 16-byte block is read.
  const Bytes two = Section7Body(2, {800, 810, 100, 210, 250, 340, 700, 0xFFE2, 60, 0xFFA6,  //
                                     1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_TRUE(InSection(7, two, parse));
  EXPECT_EQ(BytesOf(m), Bytes(two.begin(), two.begin() + 22));
  EXPECT_EQ(m.PAxis, -30);
  // No beat type: the 6 header bytes are all there is; the block is left as it was.
  m.KillData();
  ASSERT_TRUE(InSection(7, Section7Body(0, {900, 905}), parse));
  Bytes expected = {0, 3, 0x84, 3, 0x89, 3};
  expected.resize(22);
  EXPECT_EQ(BytesOf(m), expected);
  // A beat type without its block, at the end of the file or beyond the length field
  // (6 + 16 > 21): refused, structure emptied.
  for (bool last : {true, false}) {
    EXPECT_TRUE(test::FailedWith(
        InSection(7, Section7Body(1, {900, 905, 1, 2}), parse, last, last ? 0 : 21),
        plat::kErrInvalidData));
    EXPECT_EQ(BytesOf(m), Bytes(22, 0));
  }
}

TEST(MeasureSection9, ParsesRightAlignedCodes) {
  uint16_t rhythm[3] = {};
  uint16_t morphology[7] = {};
  uint16_t counts[2] = {99, 99};
  auto parse = [&](const std::string& records, int16_t maxMorphology, bool last = true) {
    return InSection(
        9, test::Section9Body(records),
        [&](plat::FileHandle f, const uint8_t* h) {
          return ParseSection9(f, h, rhythm, 3, &counts[0], morphology, maxMorphology, &counts[1]);
        },
        last);
  };
  auto kept = [&](const uint16_t* codes, int count, int max) {
    return Codes(codes, codes + std::min(count, max));
  };
  plat::SetLastError(0);
  ASSERT_TRUE(parse("  1 22   101101101101101101101", 7));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);  // the blank record was skipped
  EXPECT_EQ(kept(rhythm, counts[0], 3), (Codes{1, 22}));
  EXPECT_EQ(kept(morphology, counts[1], 7), Codes(7, 101));
  // Padding inside counts as 0, trailing padding makes no code; the limit caps what is kept.
  ASSERT_TRUE(parse("1 27  x42  7000 0 999999999999", 2));
  EXPECT_EQ(kept(rhythm, counts[0], 3), (Codes{102, 42}));
  EXPECT_EQ(Codes(morphology, morphology + 3), (Codes{7, 0, 101}));
  EXPECT_EQ(counts[1], 2);
  // Only the rhythm records: the morphology group runs out at the end of the file, or
  // after 5 records against the length field when bytes follow.
  for (bool last : {true, false}) {
    EXPECT_TRUE(test::FailedWith(parse("  1 22   ", 7, last), plat::kErrInvalidData));
  }
  // Null code arrays: nothing kept; without a count to fill, refused.
  const Bytes full = test::Section9Body("  1 22   101101101101101101101");
  EXPECT_TRUE(InSection(9, full, [&](plat::FileHandle f, const uint8_t* h) {
    return ParseSection9(f, h, nullptr, 3, &counts[0], morphology, 7, nullptr);
  }));
  EXPECT_EQ(counts[0], 0);
  EXPECT_TRUE(test::FailedWith(InSection(9, full,
                                         [&](plat::FileHandle f, const uint8_t* h) {
                                           return ParseSection9(f, h, nullptr, 3, nullptr, nullptr,
                                                                7, nullptr);
                                         }),
                               plat::kErrInvalidParameter));
}

TEST(MeasureSection10, TakesEveryRecordAsRecordSizeBytes) {
  SLeadMeasurements m;
  auto parse = [&m](plat::FileHandle f, const uint8_t* h) { return ParseSection10(f, h, &m); };
  // 66-byte records: 62 read, 4 skipped, so each record starts 66 bytes after the last.
  const Bytes body66 = test::Section10Body(3, 66, 3);
  ASSERT_TRUE(InSection(10, body66, parse));
  ASSERT_EQ(m.Count, 3);
  EXPECT_EQ(m.RecordSize, 66);
  EXPECT_EQ(BytesOf(m.Records[2]), Bytes(body66.begin() + 4 + 132, body66.begin() + 4 + 194));
  // Skipped bytes do not count against the length: 4 + 3 x 62 fit a field of 190.
  EXPECT_TRUE(InSection(10, body66, parse, false, 190));
  EXPECT_TRUE(test::FailedWith(InSection(10, body66, parse, false, 189), plat::kErrInvalidData));
  // 40-byte records fill the first 40 bytes of each slot; the rest is zero.
  const Bytes body40 = test::Section10Body(2, 40, 2);
  ASSERT_TRUE(InSection(10, body40, parse));
  Bytes expected(body40.begin() + 44, body40.end());
  expected.resize(62);
  EXPECT_EQ(BytesOf(m.Records[1]), expected);
  const struct {
    Bytes body;
    uint32_t error;
  } refused[] = {{test::Section10Body(0, 62, 0), plat::kErrInvalidParameter},
                 {test::Section10Body(255, 62, 0), plat::kErrOutOfStructures},
                 {test::Section10Body(2, 62, 1), plat::kErrInvalidData},
                 {{1, 0, 62}, plat::kErrInvalidData}};
  for (const auto& bad : refused) {
    EXPECT_TRUE(test::FailedWith(InSection(10, bad.body, parse), bad.error));
    EXPECT_EQ(m.Count, 0);
    EXPECT_EQ(m.RecordSize, 62);
  }
}

}  // namespace
