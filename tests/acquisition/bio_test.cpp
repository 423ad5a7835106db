#include <gtest/gtest.h>

#include <cstring>

#include "acquisition/bio_reader.h"
#include "encoders.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

using acqtest::BioEvent;
using acqtest::BioFile;
using acqtest::BioHeader;
using acqtest::Bytes;
using acqtest::Concat;

namespace {

class BioReaderTest : public ::testing::Test {
 protected:
  // Reads `bytes` as a Bio file: the event count, or -1 with the error code in Error.
  int Read(const Bytes& bytes) {
    int16_t count = 77;
    const bool ok = reader.ReadEvents(folder.Write("f.bio", bytes).c_str(), &count);
    Error = plat::LastError();
    if (!ok) {
      EXPECT_EQ(count, 0);
      EXPECT_EQ(reader.EventCount, 0);
      EXPECT_EQ(reader.Events, nullptr);
    }
    return ok ? count : -1;
  }
  // The error code of a read expected to fail; 0 (and a failure) when it succeeded.
  uint32_t FailureOf(const Bytes& bytes) {
    const int count = Read(bytes);
    EXPECT_EQ(count, -1);
    return count == -1 ? Error : 0;
  }
  const SECGInfo& Info(int event) { return reader.Events[event].Info; }
  // {year, month, day, hour, minute, second}
  std::vector<int> Clock(int event) {
    const SECGInfo& i = Info(event);
    return {i.Year, i.Month, i.Day, i.Hour, i.Minute, i.Second};
  }
  // {lead count, sample count, sample interval, sample bits, gain, resolution}
  std::vector<int> Layout(int event) {
    const SECGInfo& i = Info(event);
    return {i.LeadCount, i.SampleCount, i.SampleInterval, i.SampleBits, i.Gain, i.Resolution};
  }
  std::vector<int> Samples(int event, int lead, int count) {
    const int16_t* s = reader.Events[event].Leads[lead].Samples;
    return std::vector<int>(s, s + count);
  }

  test::TempFolder folder;
  CBioReader reader;
  uint32_t Error = 0;
};

TEST_F(BioReaderTest, Type2HeaderFieldsAndExtension) {
  BioHeader h;
  h.Device = 0x12;  // device type 2 and the first device flag
  ASSERT_EQ(Read(BioFile().Block(2, acqtest::Bio2(h)).Build()), 1);
  const SECGInfo& info = Info(0);
  EXPECT_STREQ(info.SerialNumber, "771");  // 1 * 256 + 0x0203
  EXPECT_EQ(info.HardwareVersion, 23);
  EXPECT_EQ(info.SoftwareVersion, 10);
  EXPECT_EQ(info.DeviceFlags, 0x62);  // type 2, mode 2, flag in bit 6
  EXPECT_EQ(Clock(0), (std::vector<int>{2021, 12, 31, 23, 59, 0}));
  EXPECT_EQ(info.SingleLead, 2);  // lead number 3: lead III
  EXPECT_EQ(Layout(0), (std::vector<int>{1, 4, 2000, 0, 200, 5000}));
  EXPECT_EQ(info.Status, 0x5A);
  EXPECT_EQ(reader.Events[0].Leads, nullptr);  // no data blocks

  h.Year = 2079;
  h.LeadNumber = 0;
  h.Gain = 0;  // no resolution to compute: it stays 0
  ASSERT_EQ(Read(BioFile().Block(2, acqtest::Bio2(h)).Build()), 1);
  EXPECT_EQ(Info(0).Year, 2079);
  EXPECT_EQ(Info(0).SingleLead, 12);
  EXPECT_EQ(Info(0).Resolution, 0);
  h.Year = 1980;
  h.Gain = 100;
  ASSERT_EQ(Read(BioFile().Block(2, acqtest::Bio2(h)).Build()), 1);
  EXPECT_EQ(Info(0).Year, 1980);

  // Payload 25 carries the extension; 24 has 6 bytes that are passed over.
  BioHeader ext;
  ext.SerialHigh = 2;
  ext.SerialLow = 5;
  ext.Hardware = 31;
  ext.Resolution = 2500;
  const Bytes data = {0, 128, 255, 100};
  ASSERT_EQ(Read(BioFile()
                     .Block(2, Concat({acqtest::Bio2(h), acqtest::BioExt(ext)}))
                     .Block(6, data)
                     .Build()),
            1);
  EXPECT_STREQ(Info(0).SerialNumber, "517");
  EXPECT_EQ(Info(0).HardwareVersion, 31);
  EXPECT_EQ(Info(0).Resolution, 2500);
  ASSERT_EQ(
      Read(BioFile().Block(2, Concat({acqtest::Bio2(h), Bytes(6, 0xEE)})).Block(6, data).Build()),
      1);
  EXPECT_EQ(Info(0).Resolution, 10000);
  EXPECT_EQ(Samples(0, 0, 4), (std::vector<int>{-128, 0, 127, -28}));
}

TEST_F(BioReaderTest, Type3LeadCountsAndSampleCounts) {
  BioHeader h;
  h.LeadsByte = (3 << 1) | 1;  // three leads, recorded simultaneously
  const Bytes lead = Concat({{1}, Bytes(4, 130)});
  ASSERT_EQ(Read(BioFile()
                     .Block(3, acqtest::Bio3(h))
                     .Block(7, lead)
                     .Block(7, lead)
                     .Block(7, lead)
                     .Build()),
            1);
  const SECGInfo& info = Info(0);
  EXPECT_EQ(info.LeadCount, 3);
  EXPECT_EQ(info.DeviceFlags, 0xD1);  // type 1, mode 1, both device flags
  EXPECT_EQ(info.SampleCount, 4);
  EXPECT_EQ(info.SampleInterval, 2000);
  EXPECT_EQ(info.Resolution, 0);  // type 3 takes only the gain
  EXPECT_EQ(info.Gain, 200);
  EXPECT_EQ(info.Reserved[0], 0xA0);
  EXPECT_EQ(info.Reserved[11], 0xAB);
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
  EXPECT_EQ(Info(0).LeadCount, 2);
  EXPECT_EQ(Info(0).SampleCount, 2);
  EXPECT_EQ(Info(0).SampleInterval, 1000);
  EXPECT_EQ(Info(0).Resolution, 1234);
  EXPECT_EQ(Info(0).DeviceFlags & 0x30, 0);

  h.LeadsByte = 4 << 1;  // four leads but two data blocks
  EXPECT_EQ(FailureOf(BioFile().Block(3, acqtest::Bio3(h)).Block(7, lead).Block(7, lead).Build()),
            plat::kErrInvalidData);
}

TEST_F(BioReaderTest, Type20HeaderAndFilterByte) {
  const std::pair<uint8_t, uint8_t> filters[] = {{0x02, 0x10}, {0x0B, 0x10}, {0x08, 0x01},
                                                 {0x09, 0x01}, {0x05, 0x20}, {0x04, 0x02},
                                                 {0x00, 0x00}, {0x30, 0x0C}, {0x12, 0x14}};
  for (const auto& [byte, expected] : filters) {
    BioHeader h;
    h.Filters = byte;
    SBioBlock20 block;
    std::memcpy(&block, acqtest::Bio20(h).data(), sizeof(block));
    SECGInfo info;
    info.Clear();
    info.Set(block);
    EXPECT_EQ(info.Filters, expected) << int{byte};
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
  const SECGInfo& info = Info(0);
  EXPECT_EQ(std::string(info.SerialNumber), std::string(253, 'x'));
  EXPECT_EQ(info.Year, 2021);
  EXPECT_EQ(info.Second, 58);
  EXPECT_EQ(info.DeviceFlags, 0x13);
  EXPECT_EQ(info.SampleBits, 12);
  EXPECT_EQ(info.Gain, 0);
  EXPECT_EQ(info.SingleLead, 5);
  EXPECT_EQ(info.Resolution, 2500);
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
  EXPECT_STREQ(Info(0).SerialNumber, "771");
  EXPECT_EQ(Info(0).Filters, 0x20);
  EXPECT_EQ(Info(0).DeviceFlags, 0x12);
  EXPECT_EQ(Info(0).SampleBits, 12);
  EXPECT_EQ(Info(0).Year, 1999);
  EXPECT_EQ(Info(0).Month, 2);
  EXPECT_EQ(Info(0).Minute, 5);
  EXPECT_EQ(Samples(0, 0, 3), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Info(1).Year, 2005);
  EXPECT_EQ(Info(1).SampleCount, 2);
  EXPECT_EQ(Samples(1, 0, 2), (std::vector<int>{0, 2034}));  // no synchronisation test
  EXPECT_EQ(reader.Events[1].Leads[0].LeadIndex, 255);       // SingleLead of a type 30 header
  EXPECT_EQ(Info(2).Year, 0);
  EXPECT_EQ(Info(2).SampleCount, 0);
  EXPECT_EQ(Info(2).SingleLead, 255);
  EXPECT_EQ(reader.Events[2].Leads, nullptr);

  SECGInfo out{};
  EXPECT_EQ(reader.GetEvent(&out, 1), &reader.Events[1]);
  EXPECT_EQ(plat::LastError(), 0u);
  EXPECT_EQ(out.Year, 2005);
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(nullptr, 1), plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(&out, 3), plat::kErrOutOfStructures));
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(&out, -1), plat::kErrOutOfStructures));

  h.EventCount = 0;
  EXPECT_EQ(Read(BioFile().Block(30, acqtest::Bio30(h)).Build()), 1);
  EXPECT_EQ(FailureOf(BioFile()
                          .Block(30, acqtest::Bio30(h))
                          .Block(31, BioEvent(1, 1, 1, 1, 1, 1))
                          .Block(31, BioEvent(1, 1, 1, 1, 1, 1))
                          .Build()),
            plat::kErrOutOfStructures);
  EXPECT_TRUE(test::FailedWith(reader.GetEvent(&out, 0), plat::kErrNoData));
  EXPECT_EQ(
      FailureOf(
          BioFile().Block(30, acqtest::Bio30(h)).Block(31, BioEvent(1, 1, 1, 1, 1, 1, 0)).Build()),
      plat::kErrInvalidData);
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
  const uint8_t indexes[] = {12, 0, 8, 12, 12};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(event.Leads[i].LeadIndex, indexes[i]) << i;
    EXPECT_EQ(event.Leads[i].LeadId, 255);
  }
  EXPECT_EQ(Samples(0, 0, 5), (std::vector<int>{0, 0, 0, 0, -1}));
  EXPECT_EQ(Samples(0, 1, 5), (std::vector<int>{0, 2033, 1024, 2047, 2032}));
  EXPECT_EQ(Samples(0, 3, 5), (std::vector<int>{100, -100, 2031, -2048, 0}));
  EXPECT_EQ(Samples(0, 4, 5), Samples(0, 3, 5));

  h.LeadCount = 8;
  h.Samples = 1;
  const Bytes record = Concat({acqtest::PairRecord({1, 2, 3, 4, 5, 6, 7, 8}, false)});
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
