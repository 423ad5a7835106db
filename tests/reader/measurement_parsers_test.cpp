// Sections 7, 9 and 10 read from hand-built records.
#include <gtest/gtest.h>

#include <memory>

#include "platform/errors.h"
#include "reader/section_parsers.h"
#include "support/open_section.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;
using test::OpenSection;
using test::RecordBuilder;

// Writes a record holding section `id` with `body` and opens that section. A trailing
// section keeps the file going past the body unless `last`.
std::unique_ptr<OpenSection> Section(const test::TempFolder& folder, uint16_t id, Bytes body,
                                     bool last = true, uint32_t length = 0) {
  RecordBuilder builder;
  builder.Section(id, std::move(body));
  if (!last) builder.Section(11, Bytes(200, 0x33));
  Bytes record = builder.Build();
  if (length != 0) test::PutU32(record, builder.OffsetOf(0) + 4, length);
  auto section = std::make_unique<OpenSection>(folder.Write("m.scp", record), id);
  EXPECT_TRUE(section->Found());
  return section;
}

TEST(MeasureSection7, ReadsCountsIntervalsAndTheFirstBeatType) {
  test::TempFolder folder;
  SGlobalMeasurements m;
  // Two beat types: only the first block of 16 bytes is read.
  auto s7 = Section(folder, 7,
                    test::Section7Body(2, 3, 800, 810,
                                       {100, 210, 250, 340, 700, -30, 60, -90, 111, 222, 333, 444,
                                        555, 666, 777, 888}));
  ASSERT_TRUE(ParseSection7(s7->File(), s7->Header(), &m));
  EXPECT_EQ(m.QRSTypes, 2);
  EXPECT_EQ(m.PossiblePacemakerSpikes, 3);
  EXPECT_EQ(m.AvRRms, 800);
  EXPECT_EQ(m.AvPPms, 810);
  EXPECT_EQ(m.POnsetms, 100);
  EXPECT_EQ(m.QRSOffsetms, 340);
  EXPECT_EQ(m.TOffsetms, 700);
  EXPECT_EQ(m.PAxis, -30);
  EXPECT_EQ(m.TAxis, -90);

  // No beat type: the 6 header bytes are all there is, and the block stays empty.
  SGlobalMeasurements none;
  s7 = Section(folder, 7, test::Section7Body(0, 1, 900, 905, {}));
  ASSERT_TRUE(ParseSection7(s7->File(), s7->Header(), &none));
  EXPECT_EQ(none.AvPPms, 905);
  EXPECT_EQ(none.POnsetms, 0);
  EXPECT_EQ(none.TAxis, 0);

  // A beat type whose block is missing, once at the end of the file and once cut by
  // the length field (6 + 16 > 21): refused, structure emptied.
  for (bool last : {true, false}) {
    s7 = Section(folder, 7, test::Section7Body(1, 1, 900, 905, {1, 2, 3}), last, last ? 0 : 21);
    EXPECT_FALSE(ParseSection7(s7->File(), s7->Header(), &m));
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
    EXPECT_EQ(m.AvRRms, 0);
  }
  EXPECT_FALSE(ParseSection7(s7->File(), s7->Header(), nullptr));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
}

TEST(MeasureSection9, ParsesRightAlignedCodes) {
  test::TempFolder folder;
  uint16_t rhythm[3] = {};
  uint16_t morphology[7] = {};
  uint16_t rhythmCount = 99;
  uint16_t morphologyCount = 99;
  auto s9 = Section(folder, 9, test::Section9Body("  1 22   101101101101101101101"));
  plat::SetLastError(0);
  ASSERT_TRUE(ParseSection9(s9->File(), s9->Header(), rhythm, 3, &rhythmCount, morphology, 7,
                            &morphologyCount));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);  // the blank record was skipped
  EXPECT_EQ(rhythmCount, 2);
  EXPECT_EQ(rhythm[0], 1);
  EXPECT_EQ(rhythm[1], 22);
  EXPECT_EQ(morphologyCount, 7);
  for (uint16_t code : morphology) EXPECT_EQ(code, 101);

  // Padding inside counts as 0, trailing padding makes no code; limits cap what is kept.
  s9 = Section(folder, 9,
               test::Section9Body("1 27  x42  7000 0 "
                                  "999999999999"));
  ASSERT_TRUE(ParseSection9(s9->File(), s9->Header(), rhythm, 3, &rhythmCount, morphology, 2,
                            &morphologyCount));
  EXPECT_EQ(rhythmCount, 2);
  EXPECT_EQ(rhythm[0], 102);
  EXPECT_EQ(rhythm[1], 42);
  EXPECT_EQ(morphologyCount, 2);
  EXPECT_EQ(morphology[0], 7);
  EXPECT_EQ(morphology[1], 0);
  EXPECT_EQ(morphology[2], 101);  // beyond the limit: untouched

  // No rhythm array: nothing stored or counted for that group.
  s9 = Section(folder, 9, test::Section9Body("  1 22   101101101101101101101"));
  ASSERT_TRUE(
      ParseSection9(s9->File(), s9->Header(), nullptr, 3, &rhythmCount, morphology, 7, nullptr));
  EXPECT_EQ(rhythmCount, 0);

  // Only the rhythm records: the morphology group runs out, at the end of the file or
  // against the length field.
  for (bool last : {true, false}) {
    s9 = Section(folder, 9, test::Section9Body("  1 22   101101101"), last);
    EXPECT_FALSE(ParseSection9(s9->File(), s9->Header(), rhythm, 3, &rhythmCount, morphology, 7,
                               &morphologyCount));
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
  }
  EXPECT_FALSE(ParseSection9(s9->File(), s9->Header(), nullptr, 3, nullptr, nullptr, 7, nullptr));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
}

TEST(MeasureSection10, TakesEveryRecordAsRecordSizeBytes) {
  test::TempFolder folder;
  SLeadMeasurements m;
  // 66-byte records: 62 read, 4 skipped, so the second starts at byte 66.
  const Bytes body66 =
      test::Section10Body(3, 66,
                          {test::MeasurementRecord(1, 100, 66), test::MeasurementRecord(2, 200, 66),
                           test::MeasurementRecord(3, 300, 66)});
  auto s10 = Section(folder, 10, body66);
  ASSERT_TRUE(ParseSection10(s10->File(), s10->Header(), &m));
  ASSERT_EQ(m.Count, 3);
  EXPECT_EQ(m.RecordSize, 66);
  EXPECT_EQ(m.Records[1].LeadId, 2);
  EXPECT_EQ(m.Records[1].PDuration, 202);
  EXPECT_EQ(m.Records[2].STAmplitudeJplus80, 330);

  // Skipped bytes do not count against the length: 4 + 3 x 62 fit in a field of 190.
  s10 = Section(folder, 10, body66, false, 190);
  EXPECT_TRUE(ParseSection10(s10->File(), s10->Header(), &m));
  s10 = Section(folder, 10, body66, false, 189);
  EXPECT_FALSE(ParseSection10(s10->File(), s10->Header(), &m));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);

  // 40-byte records fill 20 values of each slot; the rest is zero.
  s10 = Section(
      folder, 10,
      test::Section10Body(
          2, 40, {test::MeasurementRecord(1, 100, 40), test::MeasurementRecord(2, 200, 40)}));
  ASSERT_TRUE(ParseSection10(s10->File(), s10->Header(), &m));
  EXPECT_EQ(m.Records[1].LeadId, 2);
  EXPECT_EQ(m.Records[1].TminusAmplitude, 0);
  EXPECT_EQ(m.Records[1].TplusAmplitude, 219);
  EXPECT_EQ(m.Records[0].STAmplitudeJplus80, 0);

  const struct {
    Bytes body;
    uint32_t error;
  } refused[] = {
      {test::Section10Body(0, 62, {}), plat::kErrInvalidParameter},
      {test::Section10Body(255, 62, {}), plat::kErrOutOfStructures},
      {test::Section10Body(2, 62, {test::MeasurementRecord(1, 0, 62)}), plat::kErrInvalidData},
      {{1, 0, 62}, plat::kErrInvalidData},
  };
  for (const auto& bad : refused) {
    s10 = Section(folder, 10, bad.body);
    EXPECT_FALSE(ParseSection10(s10->File(), s10->Header(), &m));
    EXPECT_EQ(plat::LastError(), bad.error);
    EXPECT_EQ(m.Count, 0);
    EXPECT_EQ(m.RecordSize, 62);
  }
}

}  // namespace
