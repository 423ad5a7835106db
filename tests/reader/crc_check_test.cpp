// The stand-alone CRC check on hand-assembled records.
#include <gtest/gtest.h>

#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"

namespace {

using test::Bytes;
using test::RecordBuilder;

struct Verdict {
  bool Reached;
  bool Valid;
  uint32_t Error;
};

Verdict Check(const test::TempFolder& folder, const Bytes& record) {
  const std::string path = folder.Write("record.scp", record);
  bool valid = true;
  const bool reached = CReader::CheckCrc(path.c_str(), &valid);
  return {reached, valid, plat::LastError()};
}

Bytes Body(size_t size, uint8_t seed) {
  Bytes body(size);
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<uint8_t>(seed + i * 7);
  return body;
}

TEST(CheckCrc, GivesValidForIntactRecordsAndInvalidForAWrongRecordCrc) {
  test::TempFolder folder;
  EXPECT_TRUE(Check(folder, test::MinimalRecord()).Valid);

  const Bytes sections = RecordBuilder().Section(1, Body(40, 1)).Section(6, Body(3000, 2)).Build();
  Verdict verdict = Check(folder, sections);
  EXPECT_TRUE(verdict.Reached && verdict.Valid);

  // Every section right, the record CRC wrong: not valid, and still a verdict.
  verdict = Check(folder, RecordBuilder().Section(1, Body(40, 1)).BadRecordCrc().Build());
  EXPECT_TRUE(verdict.Reached);
  EXPECT_FALSE(verdict.Valid);
}

TEST(CheckCrc, VerifiesOnlySections0To10WithAMeaning) {
  test::TempFolder folder;
  for (const uint16_t id : std::vector<uint16_t>{1, 3, 5, 6, 7, 9, 10}) {
    const Verdict verdict =
        Check(folder, RecordBuilder().Section(id, Body(30, 3)).BadCrc().Build());
    EXPECT_TRUE(verdict.Reached) << "section " << id;
    EXPECT_FALSE(verdict.Valid) << "section " << id;
  }
  for (const uint16_t id : std::vector<uint16_t>{2, 4, 8, 11, 12, 40}) {
    const Verdict verdict =
        Check(folder, RecordBuilder().Section(id, Body(30, 3)).BadCrc().Build());
    EXPECT_TRUE(verdict.Reached && verdict.Valid) << "section " << id;
  }
  // Section 0's own CRC counts too: damage a pointer entry and fix only the record CRC.
  Bytes record = RecordBuilder().Section(1, Body(30, 3)).Build();
  record[6 + 16 + 10 + 6] ^= 0x01;  // a byte of the Section 1 entry's index
  test::PutU16(record, 0, test::Crc16(record.data() + 2, record.size() - 2));
  const Verdict verdict = Check(folder, record);
  EXPECT_TRUE(verdict.Reached);
  EXPECT_FALSE(verdict.Valid);
}

TEST(CheckCrc, SkipsLengthZeroEntriesAndUsesEachEntrysOwnPosition) {
  test::TempFolder folder;
  // Length 0 with a nonsense index is skipped; a second entry for Section 1 is verified
  // at the position it names.
  RecordBuilder builder;
  builder.Section(1, Body(20, 5)).Section(7, Body(20, 6)).Unlisted().Entry(9, 0, 0xFFFFFF);
  builder.EntryFor(1);
  Verdict verdict = Check(folder, builder.Build());
  EXPECT_TRUE(verdict.Reached && verdict.Valid);

  RecordBuilder damaged;
  damaged.Section(1, Body(20, 5)).Section(7, Body(20, 6)).Unlisted().BadCrc().EntryFor(1);
  verdict = Check(folder, damaged.Build());
  EXPECT_TRUE(verdict.Reached);
  EXPECT_FALSE(verdict.Valid);

  // A verified entry whose stretch lies beyond the file: no verdict.
  verdict = Check(folder, RecordBuilder().Section(1, Body(20, 5)).Entry(3, 100, 5000).Build());
  EXPECT_FALSE(verdict.Reached);
  EXPECT_FALSE(verdict.Valid);
}

TEST(CheckCrc, ReadsLongPointerTables) {
  test::TempFolder folder;
  // 12 fixed entries and 244 absent further ones: 256 entries, all CRCs right.
  RecordBuilder builder;
  builder.Section(1, Body(16, 9));
  for (int i = 0; i < 244; ++i) builder.Entry(static_cast<uint16_t>(12 + i), 0, 0);
  const Verdict verdict = Check(folder, builder.Build());
  EXPECT_TRUE(verdict.Reached && verdict.Valid);
}

TEST(CheckCrc, RefusesBrokenFramingWithItsError) {
  test::TempFolder folder;
  bool valid = true;
  EXPECT_TRUE(test::FailedWith(CReader::CheckCrc(nullptr, &valid), plat::kErrInvalidParameter));
  EXPECT_FALSE(valid);
  EXPECT_TRUE(test::FailedWith(CReader::CheckCrc(folder.File("record.scp").c_str(), nullptr),
                               plat::kErrInvalidParameter));

  valid = true;
  EXPECT_TRUE(test::FailedWith(CReader::CheckCrc(folder.File("missing.scp").c_str(), &valid),
                               plat::kErrFileNotFound));
  EXPECT_FALSE(valid);

  Bytes record = test::MinimalRecord();
  record.pop_back();
  Verdict verdict = Check(folder, record);
  EXPECT_FALSE(verdict.Reached);
  EXPECT_EQ(verdict.Error, plat::kErrInvalidData);

  // Section 0 length below 16 wraps to a huge entry count.
  verdict = Check(folder, RecordBuilder().Section(1, Body(16, 1)).Section0Length(10).Build());
  EXPECT_FALSE(verdict.Reached);
  EXPECT_EQ(verdict.Error, plat::kErrOutOfStructures);

  record = test::MinimalRecord();
  test::PutU16(record, 8, 1);  // Section 0 header claims to be Section 1
  verdict = Check(folder, record);
  EXPECT_FALSE(verdict.Reached);
  EXPECT_EQ(verdict.Error, plat::kErrInvalidData);

  verdict = Check(folder, Bytes{0x12, 0x34, 6, 0});  // shorter than a record header
  EXPECT_FALSE(verdict.Reached);
}

TEST(CheckCrc, AcceptsBytesAfterTheRecord) {
  test::TempFolder folder;
  Bytes record = test::MinimalRecord();
  record.insert(record.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  const Verdict verdict = Check(folder, record);
  EXPECT_TRUE(verdict.Reached && verdict.Valid);
}

}  // namespace
