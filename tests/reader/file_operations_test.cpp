// Opening records, reading Section 0, finding sections and the stand-alone CRC check,
// on hand-assembled records.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"

namespace {

using test::Bytes;
using test::RecordBuilder;

// An open record with its pointer table read, closed again at the end of the test.
struct OpenRecord {
  explicit OpenRecord(const std::string& path) {
    opened = CReader::Open(&file, path.c_str(), header) && CReader::ReadSectionIndex(file, &index);
  }
  ~OpenRecord() {
    if (file != plat::kClosedFile) plat::CloseFile(file);
  }
  plat::FileHandle file = plat::kClosedFile;
  uint8_t header[6] = {};
  SSectionIndexes index;
  bool opened = false;
};

Bytes Body(size_t size, uint8_t seed) {
  Bytes body(size);
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<uint8_t>(seed + i * 7);
  return body;
}

// Byte edits of a record: a 16-bit value put at `offset`, the size changed, the record
// CRC made right again.
Bytes Put16(Bytes record, size_t offset, uint16_t value) {
  test::PutU16(record, offset, value);
  return record;
}
Bytes Resized(Bytes record, size_t size) {
  record.resize(size, 0xEE);
  return record;
}
Bytes Recrc(Bytes record) {
  return Put16(record, 0, test::Crc16(record.data() + 2, record.size() - 2));
}

TEST(ReaderOpen, ReadsTheHeaderPositionsAndRefusesShortFilesAndBadArguments) {
  test::TempFolder folder;
  Bytes record = test::MinimalRecord();
  const std::string path = folder.Write("r.scp", record);
  plat::FileHandle file = plat::kClosedFile;
  uint8_t header[6];
  uint32_t index = 0;
  ASSERT_TRUE(CReader::Open(&file, path.c_str(), header));
  EXPECT_EQ(0, memcmp(header, record.data(), 6));
  ASSERT_TRUE(CReader::CurrentIndex(file, &index));
  EXPECT_EQ(index, 7u);  // left at Section 0
  // A second Open through the same handle closes the first file.
  ASSERT_TRUE(CReader::Open(&file, path.c_str(), header));
  ASSERT_TRUE(CReader::MoveTo(file, 100) && CReader::MoveForward(file, 0) &&
              CReader::MoveForward(file, 5) && CReader::CurrentIndex(file, &index));
  EXPECT_EQ(index, 106u);
  plat::CloseFile(file);
  record.pop_back();
  const std::string shortPath = folder.Write("short.scp", record);
  EXPECT_TRUE(
      test::FailedWith(CReader::Open(&file, shortPath.c_str(), header), plat::kErrInvalidData));
  EXPECT_EQ(file, plat::kClosedFile);
  EXPECT_TRUE(test::FailedWith(CReader::Open(&file, nullptr, header), plat::kErrInvalidParameter));
  EXPECT_TRUE(
      test::FailedWith(CReader::Open(&file, path.c_str(), nullptr), plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(CReader::CurrentIndex(plat::kClosedFile, &index),
                               plat::kErrInvalidParameter));
  EXPECT_FALSE(CReader::MoveTo(plat::kClosedFile, 0));
  EXPECT_FALSE(CReader::MoveForward(plat::kClosedFile, 1));
  EXPECT_TRUE(test::FailedWith(CReader::ReadSectionHeader(plat::kClosedFile, header),
                               plat::kErrInvalidParameter));
}

TEST(ReaderSectionIndex, ReadsFixedAndFurtherEntriesAndEmptiesTheTableOnFailure) {
  test::TempFolder folder;
  RecordBuilder builder;
  builder.Section(1, Bytes(4, 1)).Section(12, Bytes(6, 2)).Section(30, Bytes(8, 3));
  OpenRecord open(folder.Write("r.scp", builder.Build()));
  ASSERT_TRUE(open.opened);
  ASSERT_EQ(open.index.Count, 14u);
  ASSERT_EQ(open.index.Extra, 2u);
  const SSectionIndex& s0 = open.index.Fixed[0];
  EXPECT_EQ((std::vector<uint32_t>{s0.Id, s0.Index, s0.Length, open.index.Fixed[1].Index,
                                   open.index.Fixed[2].Length}),
            (std::vector<uint32_t>{0, 7, 16 + 140, uint32_t(builder.OffsetOf(0) + 1), 0}));
  const SSectionIndex* further = open.index.Further;
  EXPECT_EQ(
      (std::vector<uint32_t>{further[0].Id, further[1].Id, further[1].Length, further[1].Index}),
      (std::vector<uint32_t>{12, 30, 24, uint32_t(builder.OffsetOf(2) + 1)}));
  // Section 0 header with ID 3.
  OpenRecord badId(
      folder.Write("id.scp", Put16(RecordBuilder().Section(20, Bytes(4, 1)).Build(), 8, 3)));
  EXPECT_TRUE(test::FailedWith(badId.opened, plat::kErrInvalidData));
  EXPECT_EQ(badId.index.Count, 0u);
  // 13 entries declared, the file ends inside the table.
  Bytes shortTable = Resized(RecordBuilder().Section(20, Bytes()).Build(), 6 + 16 + 125);
  test::PutU32(shortTable, 2, static_cast<uint32_t>(shortTable.size()));
  OpenRecord truncated(folder.Write("t.scp", shortTable));
  EXPECT_FALSE(truncated.opened);
  EXPECT_EQ(truncated.index.Count, 0u);
  EXPECT_EQ(truncated.index.Further, nullptr);
}

TEST(ReaderFindSection, FirstEntryDecidesAndHeaderIdMismatchIsUsed) {
  test::TempFolder folder;
  RecordBuilder builder;
  builder.Section(1, Bytes(10, 1)).Section(3, Bytes(4, 2)).HeaderId(5);
  builder.Section(6, Bytes(4, 3)).Unlisted().EntryFor(2).Section(20, Bytes(2, 4));
  OpenRecord open(folder.Write("r.scp", builder.Build()));
  ASSERT_TRUE(open.opened);
  uint8_t header[16];
  auto find = [&](uint16_t id) { return CReader::FindSection(open.file, &open.index, id, header); };
  ASSERT_TRUE(find(1));
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);
  uint32_t position = 0;
  ASSERT_TRUE(CReader::CurrentIndex(open.file, &position));
  EXPECT_EQ(position, builder.OffsetOf(0) + 1 + 16);  // at the first body byte
  EXPECT_TRUE(find(3));
  EXPECT_EQ(plat::LastError(), plat::kErrBadFormat);
  EXPECT_EQ(header[2], 5);
  // Section 6: the fixed entry marks it absent; the later entry is never looked at.
  EXPECT_TRUE(test::FailedWith(find(6), plat::kErrSuccess));
  // Numbers without an entry, and entries beyond the fixed twelve.
  EXPECT_FALSE(find(9));
  EXPECT_TRUE(test::FailedWith(find(77), plat::kErrSuccess));
  EXPECT_TRUE(find(20));
  EXPECT_TRUE(test::FailedWith(CReader::FindSection(plat::kClosedFile, &open.index, 1, header),
                               plat::kErrInvalidParameter));
  EXPECT_FALSE(CReader::FindSection(open.file, nullptr, 1, header));
  EXPECT_TRUE(test::FailedWith(CReader::FindSection(open.file, &open.index, 1, nullptr),
                               plat::kErrInvalidParameter));
  // A count reaching past the further entries held.
  open.index.Count = 20;
  EXPECT_TRUE(test::FailedWith(find(99), plat::kErrOutOfStructures));
  open.index.Count = 13;
}

struct CrcCase {
  const char* Name;
  Bytes Record;
  bool Reached;
  bool Valid;
  uint32_t Error = 0;  // 0: any
};

Bytes BadCrcIn(int id) {
  return RecordBuilder().Section(static_cast<uint16_t>(id), Body(30, 3)).BadCrc().Build();
}

std::vector<CrcCase> CrcCases() {
  const Bytes minimal = test::MinimalRecord();
  const Bytes one = RecordBuilder().Section(1, Body(30, 3)).Build();
  std::vector<CrcCase> cases = {
      {"intact", RecordBuilder().Section(1, Body(40, 1)).Section(6, Body(3000, 2)).Build(), true,
       true},
      {"bad record CRC", RecordBuilder().Section(1, Body(40, 1)).BadRecordCrc().Build(), true,
       false},
      // Section 0's own CRC counts too: a byte of the Section 1 entry's index changed.
      {"bad Section 0 CRC", Recrc(Put16(one, 38, uint16_t((one[38] ^ 1) | one[39] << 8))), true,
       false},
      {"bytes after the record", Resized(minimal, minimal.size() + 4), true, true},
      // Below 16 the entry count wraps to a huge one.
      {"Section 0 length 10", RecordBuilder().Section(1, Body(16, 1)).Section0Length(10).Build(),
       false, false, plat::kErrOutOfStructures},
      {"shorter than a record header", Bytes{0x12, 0x34, 6, 0}, false, false},
      {"verified stretch beyond the file",
       RecordBuilder().Section(1, Body(20, 5)).Entry(3, 100, 5000).Build(), false, false},
  };
  // Only sections 0 to 10 with a meaning are verified.
  for (int id : {1, 3, 5, 6, 7, 9, 10}) cases.push_back({"checked", BadCrcIn(id), true, false});
  for (int id : {2, 4, 8, 11, 12, 40}) cases.push_back({"unchecked", BadCrcIn(id), true, true});
  // A length 0 entry with a nonsense index is skipped; a second entry for Section 1 is
  // verified at the position it names.
  RecordBuilder twice;
  twice.Section(1, Body(20, 5)).Section(7, Body(20, 6)).Unlisted().Entry(9, 0, 0xFFFFFF);
  cases.push_back({"second entry", twice.EntryFor(1).Build(), true, true});
  RecordBuilder damaged;
  damaged.Section(1, Body(20, 5)).Section(7, Body(20, 6)).Unlisted().BadCrc().EntryFor(1);
  cases.push_back({"second entry damaged", damaged.Build(), true, false});
  // 12 fixed entries and 244 absent further ones.
  RecordBuilder many;
  many.Section(1, Body(16, 9));
  for (int i = 0; i < 244; ++i) many.Entry(static_cast<uint16_t>(12 + i), 0, 0);
  cases.push_back({"256 entries", many.Build(), true, true});
  return cases;
}

TEST(CheckCrc, GivesTheVerdictOrTheFramingError) {
  test::TempFolder folder;
  for (const CrcCase& c : CrcCases()) {
    SCOPED_TRACE(c.Name);
    const std::string path = folder.Write("record.scp", c.Record);
    bool valid = !c.Valid;
    const bool reached = CReader::CheckCrc(path.c_str(), &valid);
    const uint32_t error = plat::LastError();
    EXPECT_EQ(reached, c.Reached);
    EXPECT_EQ(valid, c.Valid);
    if (c.Error != 0) {
      EXPECT_EQ(error, c.Error);
    }
  }
  bool valid = true;
  EXPECT_TRUE(test::FailedWith(CReader::CheckCrc(nullptr, &valid), plat::kErrInvalidParameter));
  EXPECT_FALSE(valid);
  EXPECT_TRUE(test::FailedWith(CReader::CheckCrc(folder.File("record.scp").c_str(), nullptr),
                               plat::kErrInvalidParameter));
  valid = true;
  EXPECT_TRUE(test::FailedWith(CReader::CheckCrc(folder.File("missing.scp").c_str(), &valid),
                               plat::kErrFileNotFound));
  EXPECT_FALSE(valid);
}

}  // namespace
