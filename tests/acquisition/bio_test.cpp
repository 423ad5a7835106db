#include <gtest/gtest.h>

#include <cstring>

#include "acquisition/bio_reader.h"
#include "encoders.h"
#include "info_text.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

using acqtest::BioEvent;
using acqtest::BioFile;
using acqtest::BioHeader;
using acqtest::Bytes;
using acqtest::Concat;
using acqtest::Fields;
using acqtest::Values;

namespace {

class BioReaderTest : public ::testing::Test {
 protected:
  // Reads `bytes` as a Bio file: the event count, or -1 with the error code in Error
  // and nothing held.
  int Read(const Bytes& bytes) {
    int16_t count = 77;
    const bool ok = reader.ReadEvents(folder.Write("f.bio", bytes).c_str(), &count);
    Error = plat::LastError();
    // From memory: the same answer.
    CBioReader memory;
    int16_t memoryCount = 77;
    EXPECT_EQ(memory.ReadEventsMemory(bytes.data(), bytes.size(), &memoryCount), ok);
    EXPECT_EQ(plat::LastError(), Error);
    EXPECT_EQ(memoryCount, count);
    EXPECT_TRUE(ok || (count == 0 && reader.EventCount == 0 && reader.Events == nullptr));
    return ok ? count : -1;
  }
  // The error code of a read expected to fail; 0 (and a failure) when it succeeded.
  uint32_t FailureOf(const Bytes& bytes) {
    EXPECT_EQ(Read(bytes), -1);
    return Error;
  }
  // The fields that `want` names of event `event` hold what it says.
  void ExpectInfo(int event, const std::string& want) {
    EXPECT_EQ(Fields(reader.Events[event].Info, want), want) << "event " << event;
  }
  std::vector<int> Samples(int event, int lead, int count) {
    return Values(reader.Events[event].Leads[lead], count);
  }

  test::TempFolder folder;
  CBioReader reader;
  uint32_t Error = 0;
};

TEST_F(BioReaderTest, Type2HeaderFieldsAndExtension) {
  BioHeader h;
  h.Device = 0x12;  // device type 2 and the first device flag
  // Serial 1 * 256 + 0x0203; type 2, mode 2, flag in bit 6; lead number 3 is lead III.
  ASSERT_EQ(Read(BioFile().Block(2, acqtest::Bio2(h)).Build()), 1);
  ExpectInfo(0,
             "serial=771 hw=23 sw=10 flags=0x62 date=2021-12-31 time=23:59:0 lead=2 leads=1 "
             "samples=4 interval=2000 bits=0 gain=200 res=5000 status=0x5A");
  EXPECT_EQ(reader.Events[0].Leads, nullptr);  // no data blocks
  h.Year = 2079;
  h.LeadNumber = 0;
  h.Gain = 0;  // no resolution to compute: it stays 0
  ASSERT_EQ(Read(BioFile().Block(2, acqtest::Bio2(h)).Build()), 1);
  ExpectInfo(0, "date=2079-12-31 lead=12 res=0");
  h.Year = 1980;
  h.Gain = 100;
  ASSERT_EQ(Read(BioFile().Block(2, acqtest::Bio2(h)).Build()), 1);
  ExpectInfo(0, "date=1980-12-31");

  // Payload 25 carries the extension; 24 has 6 bytes that are passed over.
  BioHeader ext;
  ext.SerialHigh = 2;
  ext.SerialLow = 5;
  ext.Hardware = 31;
  const Bytes data = {0, 128, 255, 100};
  ASSERT_EQ(Read(BioFile()
                     .Block(2, Concat({acqtest::Bio2(h), acqtest::BioExt(ext)}))
                     .Block(6, data)
                     .Build()),
            1);
  ExpectInfo(0, "serial=517 hw=31 res=2500");
  ASSERT_EQ(
      Read(BioFile().Block(2, Concat({acqtest::Bio2(h), Bytes(6, 0xEE)})).Block(6, data).Build()),
      1);
  ExpectInfo(0, "res=10000");
  EXPECT_EQ(Samples(0, 0, 4), (std::vector<int>{-128, 0, 127, -28}));
}

TEST_F(BioReaderTest, Type3LeadCountsAndSampleCounts) {
  BioHeader h;
  h.LeadsByte = (3 << 1) | 1;  // three leads, recorded simultaneously
  const Bytes lead = Concat({{1}, Bytes(4, 130)});
  const Bytes three =
      BioFile().Block(3, acqtest::Bio3(h)).Block(7, lead).Block(7, lead).Block(7, lead).Build();
  ASSERT_EQ(Read(three), 1);
  // Type 1, mode 1, both device flags; type 3 takes only the gain.
  ExpectInfo(0, "leads=3 flags=0xD1 samples=4 interval=2000 res=0 gain=200");
  const uint8_t* reserved = reader.Events[0].Info.Reserved;
  EXPECT_EQ(Bytes(reserved, reserved + 12),
            (Bytes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB}));
  EXPECT_EQ(reader.Events[0].FilledLeads, 3);
  EXPECT_EQ(Samples(0, 2, 4), (std::vector<int>{2, 2, 2, 2}));

  h.LongSamples = 2;
  h.Interval2 = 1000;
  h.LeadsByte = 6 << 1;  // a 6-lead device that sent two leads
  h.Resolution = 1234;
  const Bytes shortLead = {1, 130, 130};  // data blocks hold just the samples they count
  ASSERT_EQ(Read(BioFile()
                     .Block(3, Concat({acqtest::Bio3(h), acqtest::BioExt(h)}))
                     .Block(7, shortLead)
                     .Block(7, shortLead)
                     .Build()),
            1);
  ExpectInfo(0, "leads=2 samples=2 interval=1000 res=1234");
  EXPECT_EQ(reader.Events[0].Info.DeviceFlags & 0x30, 0);

  h.LeadsByte = 4 << 1;  // four leads but two data blocks
  EXPECT_EQ(FailureOf(BioFile().Block(3, acqtest::Bio3(h)).Block(7, lead).Block(7, lead).Build()),
            plat::kErrInvalidData);
}

TEST_F(BioReaderTest, Type20HeaderAndFilterByte) {
  const std::pair<uint8_t, const char*> filters[] = {
      {0x02, "0x10"}, {0x0B, "0x10"}, {0x08, "0x01"}, {0x09, "0x01"}, {0x05, "0x20"},
      {0x04, "0x02"}, {0x00, "0x00"}, {0x30, "0x0C"}, {0x12, "0x14"}};
  for (const auto& [byte, expected] : filters) {
    BioHeader h;
    h.Filters = byte;
    SBioBlock20 block;
    std::memcpy(&block, acqtest::Bio20(h).data(), sizeof(block));
    SECGInfo info;
    info.Clear();
    info.Set(block);
    EXPECT_EQ(Fields(info, "filters"), std::string("filters=") + expected) << +byte;
  }

  BioHeader h;
  h.Identification = std::string(256, 'x');
  h.SingleLead = 5;
  h.LeadCount = 2;
  h.Samples = 1;
  Bytes pair;
  acqtest::AppendPair(pair, -5, 2047);
  pair.push_back(0x99);  // not checked
  ASSERT_EQ(Read(BioFile().Block(20, acqtest::Bio20(h)).Block(22, pair).Build()), 1);
  ExpectInfo(0, "serial=" + std::string(253, 'x') +
                    " date=2021-12-31 time=23:59:58 flags=0x13 bits=12 gain=0 lead=5 res=2500");
  EXPECT_EQ(Samples(0, 0, 1), std::vector<int>{-5});
  EXPECT_EQ(Samples(0, 1, 1), std::vector<int>{2031});
  EXPECT_EQ(reader.Events[0].Leads[1].LeadIndex, 1);
}

TEST_F(BioReaderTest, Type30EventsAndEventBlocks) {
  BioHeader h;
  h.EventCount = 3;
  h.Mains = 2;
  ASSERT_EQ(Read(BioFile()
                     .Block(30, acqtest::Bio30(h))
                     .Block(31, Concat({BioEvent(3, 1, 2, 99, 4, 5), Bytes(3, 0)}))
                     .Block(6, {128, 129, 130})
                     .Block(31, BioEvent(2, 6, 7, 5, 8, 9))
                     .Block(21, {0x00, 0x00, 0x80, 0x03})
                     .Build()),
            3);
  ExpectInfo(0, "serial=771 filters=0x20 flags=0x12 bits=12 date=1999-2-1 time=4:5:0");
  EXPECT_EQ(Samples(0, 0, 3), (std::vector<int>{0, 1, 2}));
  ExpectInfo(1, "date=2005-7-6 samples=2");
  EXPECT_EQ(Samples(1, 0, 2), (std::vector<int>{0, 2034}));  // no synchronisation test
  EXPECT_EQ(reader.Events[1].Leads[0].LeadIndex, 255);       // SingleLead of a type 30 header
  ExpectInfo(2, "date=0-0-0 samples=0 lead=255");
  EXPECT_EQ(reader.Events[2].Leads, nullptr);

  SECGInfo out{};
  EXPECT_EQ(reader.GetEvent(&out, 1), &reader.Events[1]);
  EXPECT_EQ(plat::LastError(), 0u);
  EXPECT_EQ(out.Year, 2005);
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(nullptr, 1), plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(&out, 3), plat::kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(&out, -1), plat::kErrOutOfStructures));

  h.EventCount = 0;
  const Bytes header = BioFile().Block(30, acqtest::Bio30(h)).Build();
  EXPECT_EQ(Read(header), 1);
  const Bytes event = BioFile().Block(31, BioEvent(1, 1, 1, 1, 1, 1)).Build();
  const Bytes invalid = BioFile().Block(31, BioEvent(1, 1, 1, 1, 1, 1, 0)).Build();
  // Files are built from the header's file by appending the block bytes after its count.
  auto with = [&header](std::initializer_list<Bytes> blocks) {
    Bytes file = header;
    for (const Bytes& b : blocks) file.insert(file.end(), b.begin() + 1, b.end());
    file[0] = static_cast<uint8_t>(1 + blocks.size());
    return file;
  };
  EXPECT_EQ(FailureOf(with({event, event})), plat::kErrOutOfStructures);
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(&out, 0), plat::kErrNoData));
  EXPECT_EQ(FailureOf(with({invalid})), plat::kErrInvalidData);
  // Data ahead of the first event block was laid out for the header's count.
  BioHeader two = h;
  two.Samples = 2;
  EXPECT_EQ(FailureOf(BioFile()
                          .Block(2, acqtest::Bio2(two))
                          .Block(6, {1, 2})
                          .Block(31, BioEvent(3, 1, 1, 1, 1, 1))
                          .Build()),
            plat::kErrInvalidData);
}

TEST_F(BioReaderTest, DataBlockTypes) {
  BioHeader h;
  h.SingleLead = 0;  // lead I: types 6 and 10 still mark their lead unspecified
  h.LeadCount = 5;
  h.Samples = 5;
  Bytes groups;
  acqtest::AppendPair(groups, 100, -100);
  acqtest::AppendPair(groups, 2040, -2048);
  ASSERT_EQ(Read(BioFile()
                     .Block(20, acqtest::Bio20(h))
                     .Block(6, {128, 128, 128, 128, 127})
                     .Block(12, Bytes(9, 0xFF))  // passed over
                     .Block(21, {0x00, 0x00, 0x80, 0x01, 0x80, 0x00, 0xFC, 0x7C, 0x7F, 0x02})
                     .Block(7, {9, 0, 0, 0, 0, 0})
                     .Block(10, groups, 0)  // the payload length is not used
                     .Block(35, {})
                     .Block(11, Concat({{0}, groups}))
                     .Build()),
            1);
  const SEvent& event = reader.Events[0];
  EXPECT_EQ(event.FilledLeads, 5);
  std::vector<int> identity;
  for (int i = 0; i < 5; ++i)
    identity.insert(identity.end(), {event.Leads[i].LeadIndex, event.Leads[i].LeadId});
  EXPECT_EQ(identity, (std::vector<int>{12, 255, 0, 255, 8, 255, 12, 255, 12, 255}));
  EXPECT_EQ(Samples(0, 0, 5), (std::vector<int>{0, 0, 0, 0, -1}));
  EXPECT_EQ(Samples(0, 1, 5), (std::vector<int>{0, 2033, 1024, 2047, 2032}));
  EXPECT_EQ(Samples(0, 3, 5), (std::vector<int>{100, -100, 2031, -2048, 0}));
  EXPECT_EQ(Samples(0, 4, 5), Samples(0, 3, 5));

  h.LeadCount = 8;
  h.Samples = 1;
  const Bytes record = acqtest::PairRecord({1, 2, 3, 4, 5, 6, 7, 8}, false);
  ASSERT_EQ(Read(BioFile().Block(20, acqtest::Bio20(h)).Block(23, record).Build()), 1);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Samples(0, i, 1), std::vector<int>{i + 1});
  EXPECT_EQ(reader.Events[0].Leads[7].LeadIndex, 11);

  EXPECT_EQ(
      FailureOf(BioFile().Block(20, acqtest::Bio20(h)).Block(23, record).Block(6, {1}).Build()),
      plat::kErrOutOfStructures);
  h.LeadCount = 1;
  EXPECT_EQ(FailureOf(BioFile().Block(20, acqtest::Bio20(h)).Block(22, Bytes(4, 0)).Build()),
            plat::kErrOutOfStructures);
  EXPECT_EQ(FailureOf(BioFile().Block(20, acqtest::Bio20(h)).Block(5, {}).Build()),
            plat::kErrInvalidData);
}

TEST_F(BioReaderTest, MalformedAndTruncatedFiles) {
  int16_t count = 0;
  EXPECT_TRUE(test::FailedWith(reader.ReadEvents(nullptr, &count), plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(reader.ReadEvents(folder.File("absent.bio").c_str(), &count),
                               plat::kErrFileNotFound));
  EXPECT_TRUE(test::FailedWith(reader.AllocEvents(0), plat::kErrInvalidParameter));
  ASSERT_TRUE(reader.AllocEvents(2));
  EXPECT_EQ(reader.Events[1].Info.DeviceFlags, 0x2F);

  BioHeader h;
  EXPECT_EQ(FailureOf(BioFile().Block(4, acqtest::Bio2(h)).Build()), plat::kErrInvalidData);
  for (int leads : {0, 13}) {
    h.LeadCount = static_cast<uint8_t>(leads);
    EXPECT_EQ(FailureOf(BioFile().Block(20, acqtest::Bio20(h)).Build()), plat::kErrInvalidData);
  }

  // Every cut of a good file fails as a short read, releasing what was read.
  h.LeadCount = 2;
  h.EventCount = 2;
  h.Samples = 3;
  const Bytes whole = BioFile()
                          .Block(30, Concat({acqtest::Bio30(h), Bytes(2, 0)}))
                          .Block(31, BioEvent(3, 1, 1, 1, 1, 1))
                          .Block(10, Bytes(3, 0x80))
                          .Block(21, Bytes(6, 0x80))
                          .Block(31, Concat({BioEvent(2, 1, 1, 1, 1, 1), Bytes(4, 0)}))
                          .Block(22, Bytes(8, 0x80))
                          .Build();
  ASSERT_EQ(Read(whole), 2);
  for (size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(FailureOf(Bytes(whole.begin(), whole.begin() + size)), plat::kErrInvalidData);
  }
}

}  // namespace
