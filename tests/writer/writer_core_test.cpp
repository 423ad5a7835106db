// The section store, Section 0 and the record header as the writer writes them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"
#include "record_sections.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"
#include "test_writer.h"

namespace {

using test::Bytes;

// A stored section of `body` bytes whose header the writer fills.
void Put(TestWriter& writer, uint16_t id, const Bytes& body) {
  const uint16_t entry = writer.Store.Used;
  ASSERT_TRUE(writer.Store.Has(entry));
  auto* buffer = static_cast<uint8_t*>(calloc(16 + body.size(), 1));
  std::copy(body.begin(), body.end(), buffer + 16);
  writer.Store.Data(entry) = buffer;
  writer.Store.Length(entry) = static_cast<uint32_t>(16 + body.size());
  writer.Store.Id(entry) = id;
  ASSERT_TRUE(writer.StoreSectionHeader(entry));
  ++writer.Store.Used;
}

// Written over a longer file, which the record replaces whole.
TEST(WriterRecord, EmptyStoreGivesThe142ByteRecord) {
  test::TempFolder folder;
  const std::string path = folder.Write("empty.scp", Bytes(500, 0xAA));
  CWriter writer;
  ASSERT_TRUE(writer.CreateEmpty(path.c_str()));

  // Written out by hand: record header, Section 0 header, 12 entries.
  Bytes expected(6, 0);
  test::AppendU16(expected, 0);  // Section 0 CRC, below
  test::AppendU16(expected, 0);
  test::AppendU32(expected, 136);
  expected.push_back(10);  // section version
  expected.insert(expected.end(), 7, 0);
  for (uint16_t id = 0; id < 12; ++id) {
    test::AppendU16(expected, id);
    test::AppendU32(expected, id == 0 ? 136 : 0);
    test::AppendU32(expected, id == 0 ? 7 : 0);
  }
  test::PutU16(expected, 6, test::Crc16(expected.data() + 8, 134));
  test::PutU32(expected, 2, 142);
  test::PutU16(expected, 0, test::Crc16(expected.data() + 2, 140));
  EXPECT_EQ(test::ReadWholeFile(path), expected);
}

TEST(WriterRecord, SectionsAreWrittenInNumberOrderWithManufacturerSectionsLast) {
  test::TempFolder folder;
  const std::string path = folder.File("order.scp");
  TestWriter writer;
  Put(writer, 200, {0xC8});
  Put(writer, 6, {6, 6, 6, 6});
  Put(writer, 1, {1, 1});
  Put(writer, 3, {3, 3, 3});
  ASSERT_TRUE(writer.WriteSections(path.c_str()));
  EXPECT_EQ(writer.Store.Used, 1);
  writer.Close();
  EXPECT_EQ(writer.File, plat::kClosedFile);

  const Bytes record = test::ReadWholeFile(path);
  const std::vector<test::PointerEntry> table = test::PointerTable(record);
  ASSERT_EQ(table.size(), 13u);
  // Section 0 is 16 + 130 bytes at index 7; then 1, 3, 6 and 200 follow one another.
  std::vector<uint32_t> layout;
  for (size_t i : {0, 1, 2, 3, 6, 12}) {
    layout.insert(layout.end(), {table[i].Id, table[i].Length, table[i].Index});
  }
  EXPECT_EQ(layout, (std::vector<uint32_t>{0, 146, 7, 1, 18, 153, 2, 0, 0, 3, 19, 171, 6, 20, 190,
                                           200, 17, 210}));
  EXPECT_EQ(record.size(), 226u);
  // Header bytes: ID, version 11 for Section 1, 10 for 0, 3 and 6, 0 otherwise; protocol 0.
  std::vector<int> headers;
  for (const auto& [id, bytes] : test::Sections(record)) {
    headers.insert(headers.end(), {bytes[2] | bytes[3] << 8, bytes[8], bytes[9]});
  }
  EXPECT_EQ(headers, (std::vector<int>{0, 10, 0, 1, 11, 0, 3, 10, 0, 6, 10, 0, 200, 0, 0}));
  bool valid = false;
  EXPECT_TRUE(CReader::CheckCrc(path.c_str(), &valid));
  EXPECT_TRUE(valid);
}

TEST(WriterRecord, FailuresLeaveTheStoreEmptyAndNoFileOpen) {
  test::TempFolder folder;
  TestWriter writer;
  Put(writer, 1, {1, 2});
  EXPECT_TRUE(test::FailedWith(writer.WriteSections(folder.File("missing/x.scp").c_str()),
                               plat::kErrPathNotFound));
  EXPECT_EQ(writer.Store.Used, 1);
  EXPECT_EQ(writer.Store.FixedData[1], nullptr);
  EXPECT_EQ(writer.File, plat::kClosedFile);

  EXPECT_TRUE(test::FailedWith(writer.StoreSection(1), plat::kErrInvalidAccess));
  EXPECT_TRUE(test::FailedWith(writer.UnstoreSection(1), plat::kErrInvalidAccess));
  EXPECT_TRUE(test::FailedWith(writer.CreateEmpty(nullptr), plat::kErrInvalidParameter));
  EXPECT_TRUE(
      test::FailedWith(writer.UpdateCRC(folder.File("none.scp").c_str()), plat::kErrFileNotFound));
  EXPECT_EQ(writer.File, plat::kClosedFile);
  EXPECT_EQ(writer.Store.Used, 1);
}

TEST(WriterStore, StoresSectionsOfAnOpenFileByteForByte) {
  test::TempFolder folder;
  test::RecordBuilder builder;
  builder.Section(1, {1, 2, 3, 4}).Section(7, {7, 7}).Section(5, {}).Unlisted().Entry(5, 0, 99);
  builder.Section(9, {9, 9, 9}).HeaderId(8);
  const Bytes record = builder.Build();
  const std::string path = folder.Write("in.scp", record);
  TestWriter writer;
  EXPECT_TRUE(test::FailedWith(writer.StoreSection(0), plat::kErrInvalidParameter));
  ASSERT_TRUE(writer.OpenRd(path.c_str(), false));
  EXPECT_TRUE(writer.StoreSection(7));
  EXPECT_TRUE(writer.StoreSection(5));  // listed with length 0: nothing stored
  EXPECT_TRUE(writer.StoreSection(4));  // not listed at all
  EXPECT_TRUE(writer.StoreSection(9));  // its header says 8: stored as 9
  EXPECT_EQ(plat::LastError(), plat::kErrBadFormat);
  EXPECT_TRUE(writer.StoreSection(1));
  ASSERT_EQ(writer.Store.Used, 4);
  const auto sections = test::Sections(record);
  const SScpRecord& store = writer.Store;
  EXPECT_EQ(Bytes(store.FixedData[1], store.FixedData[1] + 18), sections.at(7));
  EXPECT_EQ(store.FixedIds[2], 9);
  EXPECT_EQ(Bytes(store.FixedData[3], store.FixedData[3] + 20), sections.at(1));

  // Removing moves the later entries down; an absent section is no error.
  EXPECT_TRUE(writer.UnstoreSection(7));
  EXPECT_TRUE(writer.UnstoreSection(42));
  EXPECT_EQ((std::vector<int>{store.Used, store.FixedIds[1], store.FixedIds[2]}),
            (std::vector<int>{3, 9, 1}));
  EXPECT_EQ(store.FixedData[3], nullptr);
  writer.Close();
  EXPECT_EQ(writer.File, plat::kClosedFile);
  EXPECT_EQ(writer.Store.Used, 1);
}

TEST(WriterStore, DynamicEntriesHaveTheirLimits) {
  SScpRecord store;
  EXPECT_TRUE(test::FailedWith(store.Allocate(0), plat::kErrInvalidParameter));
  EXPECT_TRUE(store.Allocate(200));
  EXPECT_TRUE(store.AddSections(55));
  EXPECT_EQ(store.DynamicCapacity, 255);
  EXPECT_TRUE(test::FailedWith(store.AddSections(1), plat::kErrOutOfStructures));
  EXPECT_TRUE(store.Has(12 + 254));
  EXPECT_FALSE(store.Has(12 + 255));
  store.KillData();
  EXPECT_EQ(store.DynamicCapacity, 0);
  EXPECT_EQ(store.Used, 1);
  EXPECT_FALSE(store.Has(12));
}

// A built record with every checksum wrong, and the shared sample records (whose
// checksums are right) when they are there: every section but 0 keeps its bytes after
// the CRC, and every CRC is right afterwards.
TEST(WriterUpdateCrc, RepairsEveryChecksumAndKeepsTheBodies) {
  test::RecordBuilder builder;
  builder.Section(1, {1, 2, 3, 4}).BadCrc().Section(6, Bytes(300, 6)).BadCrc();
  builder.Section(210, {0xAA, 0xBB}).BadCrc().BadRecordCrc();
  std::vector<std::pair<std::string, Bytes>> records = {{"damaged.scp", builder.Build()}};
  const std::string samples = test::SamplesFolder();
  for (const char* name :
       {"ECG-viwer-PC-80B__1.scp", "ECGToolkit__Example.scp",
        "SCP-Tools__ECG_20070321_110542_191010101010.scp",
        "SCP-Tools__ECG_20170504_163507_123456789.scp", "ecg-contec__demo.scp"}) {
    if (!samples.empty()) records.push_back({name, test::ReadWholeFile(samples + "/" + name)});
  }
  test::TempFolder folder;
  for (const auto& [name, before] : records) {
    SCOPED_TRACE(name);
    const std::string path = folder.Write(name, before);
    CWriter writer;
    ASSERT_TRUE(writer.UpdateCRC(path.c_str()));
    EXPECT_EQ(writer.File, plat::kClosedFile);
    bool valid = false;
    ASSERT_TRUE(CReader::CheckCrc(path.c_str(), &valid));
    EXPECT_TRUE(valid);
    const auto repaired = test::Sections(test::ReadWholeFile(path));
    for (const auto& [id, bytes] : test::Sections(before)) {
      if (id == 0) continue;  // rebuilt with its twelve fixed entries
      ASSERT_TRUE(repaired.count(id)) << "section " << id;
      const Bytes& now = repaired.at(id);
      EXPECT_EQ(Bytes(now.begin() + 2, now.end()), Bytes(bytes.begin() + 2, bytes.end()))
          << "section " << id;
      EXPECT_EQ(now[0] | now[1] << 8, test::Crc16(now.data() + 2, now.size() - 2)) << id;
    }
  }
}

}  // namespace
