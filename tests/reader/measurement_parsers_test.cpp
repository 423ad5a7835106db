// Sections 7, 9 and 10 read from hand-built records.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/errors.h"
#include "reader/section_parsers.h"
#include "support/last_error.h"
#include "support/section_file.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;
using test::SectionFile;
using Codes = std::vector<uint16_t>;

Bytes Section7Body(uint8_t qrsTypes, std::vector<uint16_t> words) {
  Bytes body = {qrsTypes, 3};
  for (uint16_t word : words) test::AppendU16(body, word);
  return body;
}

// The bytes of a record structure, to compare with the file's.
template <typename T>
Bytes BytesOf(const T& value, size_t count = sizeof(T)) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
  return Bytes(bytes, bytes + count);
}

TEST(MeasureSection7, ReadsCountsIntervalsAndTheFirstBeatType) {
  SGlobalMeasurements m;
  // Two beat types: only the first 16-byte block is read.
  const Bytes two = Section7Body(2, {800, 810, 100, 210, 250, 340, 700, 0xFFE2, 60, 0xFFA6,  //
                                     1, 2, 3, 4, 5, 6, 7, 8});
  SectionFile s7(7, two);
  ASSERT_TRUE(ParseSection7(s7.File(), s7.Header(), &m));
  EXPECT_EQ(BytesOf(m), Bytes(two.begin(), two.begin() + 22));
  EXPECT_EQ(m.PAxis, -30);

  // No beat type: the 6 header bytes are all there is and the block stays empty.
  SGlobalMeasurements none;
  SectionFile short7(7, Section7Body(0, {900, 905}));
  ASSERT_TRUE(ParseSection7(short7.File(), short7.Header(), &none));
  EXPECT_EQ(BytesOf(none),
            (Bytes{0, 3, 0x84, 3, 0x89, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  // A beat type without its block, at the end of the file or beyond the length field
  // (6 + 16 > 21): refused, structure emptied.
  for (bool last : {true, false}) {
    SectionFile cut(7, Section7Body(1, {900, 905, 1, 2}), last, last ? 0 : 21);
    EXPECT_TRUE(
        test::FailedWith(ParseSection7(cut.File(), cut.Header(), &m), plat::kErrInvalidData));
    EXPECT_EQ(BytesOf(m), Bytes(22, 0));
  }
}

TEST(MeasureSection9, ParsesRightAlignedCodes) {
  uint16_t rhythm[3] = {};
  uint16_t morphology[7] = {};
  uint16_t counts[2] = {99, 99};
  auto parse = [&](const std::string& records, int16_t maxMorphology, bool last = true) {
    auto s9 = std::make_unique<SectionFile>(9, test::Section9Body(records), last);
    const bool ok = ParseSection9(s9->File(), s9->Header(), rhythm, 3, &counts[0], morphology,
                                  maxMorphology, &counts[1]);
    const uint32_t error = plat::LastError();
    s9.reset();  // removing the folder may change the last error on Windows
    plat::SetLastError(error);
    return ok;
  };
  plat::SetLastError(0);
  ASSERT_TRUE(parse("  1 22   101101101101101101101", 7));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);  // the blank record was skipped
  EXPECT_EQ(Codes(rhythm, rhythm + std::min<int>(counts[0], 3)), (Codes{1, 22}));
  EXPECT_EQ(Codes(morphology, morphology + std::min<int>(counts[1], 7)), Codes(7, 101));

  // Padding inside counts as 0, trailing padding makes no code; the limit caps what is kept.
  ASSERT_TRUE(parse("1 27  x42  7000 0 999999999999", 2));
  EXPECT_EQ(Codes(rhythm, rhythm + std::min<int>(counts[0], 3)), (Codes{102, 42}));
  EXPECT_EQ(Codes(morphology, morphology + 3), (Codes{7, 0, 101}));
  EXPECT_EQ(counts[1], 2);

  // Only the rhythm records: the morphology group runs out at the end of the file, or
  // after 5 records against the length field when bytes follow.
  for (bool last : {true, false}) {
    EXPECT_TRUE(test::FailedWith(parse("  1 22   ", 7, last), plat::kErrInvalidData));
  }
  SectionFile s9(9, test::Section9Body("  1 22   101101101101101101101"));
  EXPECT_TRUE(
      ParseSection9(s9.File(), s9.Header(), nullptr, 3, &counts[0], morphology, 7, nullptr));
  EXPECT_EQ(counts[0], 0);
  EXPECT_TRUE(test::FailedWith(
      ParseSection9(s9.File(), s9.Header(), nullptr, 3, nullptr, nullptr, 7, nullptr),
      plat::kErrInvalidParameter));
}

TEST(MeasureSection10, TakesEveryRecordAsRecordSizeBytes) {
  SLeadMeasurements m;
  // 66-byte records: 62 read, 4 skipped, so each record starts 66 bytes after the last.
  const Bytes body66 = test::Section10Body(3, 66, 3);
  SectionFile s66(10, body66);
  ASSERT_TRUE(ParseSection10(s66.File(), s66.Header(), &m));
  ASSERT_EQ(m.Count, 3);
  EXPECT_EQ(m.RecordSize, 66);
  EXPECT_EQ(BytesOf(m.Records[2]), Bytes(body66.begin() + 4 + 132, body66.begin() + 4 + 194));

  // Skipped bytes do not count against the length: 4 + 3 x 62 fit a field of 190.
  SectionFile fits(10, body66, false, 190);
  EXPECT_TRUE(ParseSection10(fits.File(), fits.Header(), &m));
  SectionFile over(10, body66, false, 189);
  EXPECT_TRUE(
      test::FailedWith(ParseSection10(over.File(), over.Header(), &m), plat::kErrInvalidData));

  // 40-byte records fill the first 40 bytes of each slot; the rest is zero.
  const Bytes body40 = test::Section10Body(2, 40, 2);
  SectionFile s40(10, body40);
  ASSERT_TRUE(ParseSection10(s40.File(), s40.Header(), &m));
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
    SectionFile s10(10, bad.body);
    EXPECT_FALSE(ParseSection10(s10.File(), s10.Header(), &m));
    EXPECT_EQ(plat::LastError(), bad.error);
    EXPECT_EQ(m.Count, 0);
    EXPECT_EQ(m.RecordSize, 62);
  }
}

}  // namespace
