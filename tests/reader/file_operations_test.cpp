// Opening records, reading Section 0 and finding sections, on hand-assembled records.
#include <gtest/gtest.h>

#include <cstring>

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

TEST(ReaderOpen, ReadsTheRecordHeaderAndLeavesTheFileAtSection0) {
  test::TempFolder folder;
  const Bytes record = test::MinimalRecord();
  const std::string path = folder.Write("r.scp", record);
  plat::FileHandle file = plat::kClosedFile;
  uint8_t header[6];
  ASSERT_TRUE(CReader::Open(&file, path.c_str(), header));
  EXPECT_EQ(0, memcmp(header, record.data(), 6));
  uint32_t index = 0;
  ASSERT_TRUE(CReader::CurrentIndex(file, &index));
  EXPECT_EQ(index, 7u);

  // A second Open through the same handle closes the first file.
  ASSERT_TRUE(CReader::Open(&file, path.c_str(), header));
  ASSERT_TRUE(CReader::MoveTo(file, 100));
  ASSERT_TRUE(CReader::MoveForward(file, 0));
  ASSERT_TRUE(CReader::MoveForward(file, 5));
  ASSERT_TRUE(CReader::CurrentIndex(file, &index));
  EXPECT_EQ(index, 106u);
  plat::CloseFile(file);
}

TEST(ReaderOpen, RefusesShortFilesAndBadArguments) {
  test::TempFolder folder;
  Bytes record = test::MinimalRecord();
  record.pop_back();
  const std::string path = folder.Write("short.scp", record);
  plat::FileHandle file = plat::kClosedFile;
  uint8_t header[6];
  EXPECT_TRUE(test::FailedWith(CReader::Open(&file, path.c_str(), header), plat::kErrInvalidData));
  EXPECT_EQ(file, plat::kClosedFile);

  EXPECT_TRUE(test::FailedWith(CReader::Open(&file, nullptr, header), plat::kErrInvalidParameter));
  EXPECT_TRUE(
      test::FailedWith(CReader::Open(&file, path.c_str(), nullptr), plat::kErrInvalidParameter));

  // The position helpers and header reads refuse a closed handle.
  uint32_t index = 0;
  EXPECT_TRUE(test::FailedWith(CReader::CurrentIndex(plat::kClosedFile, &index),
                               plat::kErrInvalidParameter));
  EXPECT_FALSE(CReader::MoveTo(plat::kClosedFile, 0));
  EXPECT_FALSE(CReader::MoveForward(plat::kClosedFile, 1));
  EXPECT_TRUE(test::FailedWith(CReader::ReadSectionHeader(plat::kClosedFile, header),
                               plat::kErrInvalidParameter));
}

TEST(ReaderSectionIndex, ReadsFixedAndFurtherEntries) {
  test::TempFolder folder;
  RecordBuilder builder;
  builder.Section(1, Bytes(4, 1)).Section(12, Bytes(6, 2)).Section(30, Bytes(8, 3));
  OpenRecord open(folder.Write("r.scp", builder.Build()));
  ASSERT_TRUE(open.opened);
  ASSERT_EQ(open.index.Count, 14u);
  ASSERT_EQ(open.index.Extra, 2u);
  EXPECT_EQ(+open.index.Fixed[0].Id, 0);
  EXPECT_EQ(+open.index.Fixed[0].Index, 7u);
  EXPECT_EQ(+open.index.Fixed[0].Length, 16u + 140u);
  EXPECT_EQ(+open.index.Fixed[1].Index, builder.OffsetOf(0) + 1);
  EXPECT_EQ(+open.index.Fixed[2].Length, 0u);
  EXPECT_EQ(+open.index.Further[0].Id, 12);
  EXPECT_EQ(+open.index.Further[1].Id, 30);
  EXPECT_EQ(+open.index.Further[1].Length, 24u);
  EXPECT_EQ(+open.index.Further[1].Index, builder.OffsetOf(2) + 1);
}

TEST(ReaderSectionIndex, EmptiesTheTableOnFailure) {
  test::TempFolder folder;
  Bytes record = RecordBuilder().Section(20, Bytes(4, 1)).Build();
  test::PutU16(record, 8, 3);  // Section 0 header with ID 3
  OpenRecord open(folder.Write("r.scp", record));
  EXPECT_TRUE(test::FailedWith(open.opened, plat::kErrInvalidData));
  EXPECT_EQ(open.index.Count, 0u);

  // 13 entries declared, the file ends inside the table.
  Bytes shortTable = RecordBuilder().Section(20, Bytes()).Build();
  shortTable.resize(6 + 16 + 125);
  test::PutU32(shortTable, 2, static_cast<uint32_t>(shortTable.size()));
  OpenRecord truncated(folder.Write("t.scp", shortTable));
  EXPECT_FALSE(truncated.opened);
  EXPECT_EQ(truncated.index.Count, 0u);
  EXPECT_EQ(truncated.index.Further, nullptr);
}

TEST(ReaderFindSection, FirstEntryDecidesAndHeaderIdMismatchIsUsed) {
  test::TempFolder folder;
  RecordBuilder builder;
  builder.Section(1, Bytes(10, 1))
      .Section(3, Bytes(4, 2))
      .HeaderId(5)
      .Section(6, Bytes(4, 3))
      .Unlisted()
      .EntryFor(2)
      .Section(20, Bytes(2, 4));
  OpenRecord open(folder.Write("r.scp", builder.Build()));
  ASSERT_TRUE(open.opened);
  uint8_t header[16];

  ASSERT_TRUE(CReader::FindSection(open.file, &open.index, 1, header));
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);
  uint32_t position = 0;
  ASSERT_TRUE(CReader::CurrentIndex(open.file, &position));
  EXPECT_EQ(position, builder.OffsetOf(0) + 1 + 16);  // at the first body byte

  EXPECT_TRUE(CReader::FindSection(open.file, &open.index, 3, header));
  EXPECT_EQ(plat::LastError(), plat::kErrBadFormat);
  EXPECT_EQ(header[2], 5);

  // Section 6: the fixed entry marks it absent; the later entry is never looked at.
  EXPECT_TRUE(
      test::FailedWith(CReader::FindSection(open.file, &open.index, 6, header), plat::kErrSuccess));
  // Numbers without an entry, and entries beyond the fixed twelve.
  EXPECT_FALSE(CReader::FindSection(open.file, &open.index, 9, header));
  EXPECT_TRUE(test::FailedWith(CReader::FindSection(open.file, &open.index, 77, header),
                               plat::kErrSuccess));
  EXPECT_TRUE(CReader::FindSection(open.file, &open.index, 20, header));

  EXPECT_TRUE(test::FailedWith(CReader::FindSection(plat::kClosedFile, &open.index, 1, header),
                               plat::kErrInvalidParameter));
  EXPECT_FALSE(CReader::FindSection(open.file, nullptr, 1, header));
  EXPECT_TRUE(test::FailedWith(CReader::FindSection(open.file, &open.index, 1, nullptr),
                               plat::kErrInvalidParameter));

  // A count reaching past the further entries held.
  open.index.Count = 20;
  EXPECT_TRUE(test::FailedWith(CReader::FindSection(open.file, &open.index, 99, header),
                               plat::kErrOutOfStructures));
  open.index.Count = 13;
}

}  // namespace
