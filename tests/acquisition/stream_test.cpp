#include <gtest/gtest.h>

#include "acquisition/raw16_reader.h"
#include "acquisition/raw8_reader.h"
#include "acquisition/raw_stream.h"
#include "encoders.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

using acqtest::Bytes;

namespace {

TEST(StreamReaders, SixteenBitConversionsAndDefaults) {
  const Bytes input = acqtest::Stream16({0x0000, 0xFFFF, 0x8000, 0x7FFF, 0x1234});
  C16BitMemReader memory;
  SECGInfo info{};
  SLeadObj* leads = memory.ReadEvent(input.data(), 10, &info, false, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(std::vector<int>(leads->Leads[0].Samples, leads->Leads[0].Samples + 5),
            (std::vector<int>{0, -1, -32768, 32767, 0x1234}));
  EXPECT_EQ(info.SampleInterval, 3333);
  EXPECT_EQ(info.Resolution, 20000);
  EXPECT_EQ(info.SampleBits, 16);
  EXPECT_EQ(info.SingleLead, 12);
  EXPECT_EQ(info.LeadCount, 1);
  EXPECT_EQ(info.DeviceFlags, 0x2F);
  EXPECT_EQ(leads->FilledLeads, 1);
  EXPECT_EQ(leads->Leads[0].LeadIndex, 255);  // the writer gives it lead code 0
  EXPECT_EQ(leads->Leads[0].GetLeadCode(), 0);

  leads = memory.ReadEvent(input.data(), 10, &info, true, 1000.0, 1000.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(std::vector<int>(leads->Leads[0].Samples, leads->Leads[0].Samples + 5),
            (std::vector<int>{-32768, 32767, 0, -1, 0x1234 - 32768}));
  EXPECT_EQ(info.SampleInterval, 1000);
  EXPECT_EQ(info.Resolution, 1000);

  test::TempFolder folder;
  const std::string name = folder.Write("five.bin", Bytes(input.begin(), input.begin() + 5));
  C16BitReader file;
  leads = file.ReadEvent(name.c_str(), &info, false, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.SampleCount, 2);  // the fifth byte is ignored
  EXPECT_EQ(leads->Leads[0].Samples[1], -1);
  EXPECT_EQ(info.SampleInterval, 2002);
  EXPECT_EQ(info.Resolution, 2995);
}

TEST(StreamReaders, EightBitConversionsAndDefaults) {
  const Bytes input = {0xFF, 0x00, 0x80, 0x7F};
  C8BitMemReader memory;
  SECGInfo info{};
  SLeadObj* leads = memory.ReadEvent(input.data(), 4, &info, false, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(std::vector<int>(leads->Leads[0].Samples, leads->Leads[0].Samples + 4),
            (std::vector<int>{255, 0, 128, 127}));
  EXPECT_EQ(info.SampleBits, 8);
  EXPECT_EQ(info.SampleInterval, 3333);
  leads = memory.ReadEvent(input.data(), 4, &info, true, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(std::vector<int>(leads->Leads[0].Samples, leads->Leads[0].Samples + 4),
            (std::vector<int>{127, -128, 0, -1}));

  test::TempFolder folder;
  Bytes big(70000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  C8BitReader file;
  leads = file.ReadEvent(folder.Write("big.bin", big).c_str(), &info, true, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.SampleCount, 32767);
  EXPECT_EQ(leads->Leads[0].Samples[32766], static_cast<uint8_t>(32766 * 7) - 128);
  EXPECT_EQ(info.SampleInterval, 3333);
  EXPECT_EQ(info.Resolution, 20000);
}

TEST(StreamReaders, FileBlocksHalveToTheEnd) {
  std::vector<uint32_t> blocks;
  uint32_t done = 0;
  for (uint32_t block = 1000; (block = ktx::acq::NextBlockSize(block, done, 2600)) != 0;) {
    blocks.push_back(block);
    done += block;
  }
  EXPECT_EQ(blocks, (std::vector<uint32_t>{1000, 1000, 500, 62, 31, 7}));

  std::vector<int> samples(2600);
  for (int i = 0; i < 2600; ++i) samples[i] = i * 13 - 16000;
  test::TempFolder folder;
  C16BitReader reader;
  SECGInfo info{};
  SLeadObj* leads = reader.ReadEvent(folder.Write("s.bin", acqtest::Stream16(samples)).c_str(),
                                     &info, false, 5000.0, 1000.0);
  ASSERT_NE(leads, nullptr);
  ASSERT_EQ(info.SampleCount, 2600);
  EXPECT_EQ(std::vector<int>(leads->Leads[0].Samples, leads->Leads[0].Samples + 2600), samples);
}

TEST(StreamReaders, Failures) {
  test::TempFolder folder;
  C16BitReader file16;
  C8BitReader file8;
  EXPECT_TRUE(test::FailedWith(file16.ReadEvent(nullptr, nullptr, false, 0, 0),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(file8.ReadEvent(folder.File("none").c_str(), nullptr, false, 0, 0),
                               plat::kErrFileNotFound));
  EXPECT_TRUE(test::FailedWith(
      file16.ReadEvent(folder.Write("one", Bytes{1}).c_str(), nullptr, false, 0, 0),
      plat::kErrInvalidParameter));  // no whole sample
  EXPECT_TRUE(test::FailedWith(
      file8.ReadEvent(folder.Write("empty", Bytes{}).c_str(), nullptr, false, 0, 0),
      plat::kErrInvalidParameter));

  const uint8_t byte = 1;
  C8BitMemReader memory;
  EXPECT_TRUE(test::FailedWith(memory.ReadEvent(nullptr, 1, nullptr, false, 0, 0),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(memory.ReadEvent(&byte, 0, nullptr, false, 0, 0),
                               plat::kErrInvalidParameter));
  C16BitMemReader memory16;
  EXPECT_TRUE(test::FailedWith(memory16.ReadEvent(&byte, 1, nullptr, false, 0, 0),
                               plat::kErrInvalidParameter));
}

}  // namespace
