#include <gtest/gtest.h>

#include "acquisition/raw16_reader.h"
#include "acquisition/raw8_reader.h"
#include "acquisition/raw_stream.h"
#include "encoders.h"
#include "info_text.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

using acqtest::Bytes;
using acqtest::Fields;
using acqtest::Values;

namespace {

TEST(StreamReaders, ConversionsAndDefaults) {
  struct Case {
    bool Wide, Unsigned;
    double Rate, Resolution;
    Bytes Input;
    std::vector<int> Samples;
    const char* Info;
  };
  const Bytes words = acqtest::Stream16({0x0000, 0xFFFF, 0x8000, 0x7FFF, 0x1234});
  const Bytes bytes = {0xFF, 0x00, 0x80, 0x7F};
  const Case cases[] = {
      {true, false, 0, 0, words, {0, -1, -32768, 32767, 0x1234}, "interval=3333 res=20000 bits=16"},
      {true,
       true,
       1000,
       1000,
       words,
       {-32768, 32767, 0, -1, 0x1234 - 32768},
       "interval=1000 res=1000"},
      {false, false, 0, 0, bytes, {255, 0, 128, 127}, "interval=3333 res=20000 bits=8"},
      {false, true, 0, 0, bytes, {127, -128, 0, -1}, "interval=3333 res=20000 bits=8"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Info);
    C16BitMemReader memory16;
    C8BitMemReader memory8;
    SECGInfo info{};
    const auto size = static_cast<uint32_t>(c.Input.size());
    SLeadObj* leads =
        c.Wide ? memory16.ReadEvent(c.Input.data(), size, &info, c.Unsigned, c.Rate, c.Resolution)
               : memory8.ReadEvent(c.Input.data(), size, &info, c.Unsigned, c.Rate, c.Resolution);
    ASSERT_NE(leads, nullptr);
    EXPECT_EQ(Values(leads->Leads[0], static_cast<int>(c.Samples.size())), c.Samples);
    EXPECT_EQ(Fields(info, c.Info), c.Info);
    EXPECT_EQ(Fields(info, "lead leads flags"), "lead=12 leads=1 flags=0x2F");
    // LeadIndex 255: the writer gives it lead code 0.
    EXPECT_EQ((std::vector<int>{leads->FilledLeads, leads->Leads[0].LeadIndex,
                                leads->Leads[0].GetLeadCode()}),
              (std::vector<int>{1, 255, 0}));
  }
}

TEST(StreamReaders, FilesCapTheCountAndTakeDefaultsFromTheirSize) {
  test::TempFolder folder;
  SECGInfo info{};
  C16BitReader file16;
  const Bytes five = acqtest::Stream16({0, -1, 7});
  SLeadObj* leads =
      file16.ReadEvent(folder.Write("five.bin", Bytes(five.begin(), five.begin() + 5)).c_str(),
                       &info, false, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(Fields(info, "samples interval res"),
            "samples=2 interval=2002 res=2995");  // fifth byte ignored
  EXPECT_EQ(leads->Leads[0].Samples[1], -1);

  Bytes big(70000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  C8BitReader file8;
  leads = file8.ReadEvent(folder.Write("big.bin", big).c_str(), &info, true, 0.0, 0.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(Fields(info, "samples interval res"), "samples=32767 interval=3333 res=20000");
  EXPECT_EQ(leads->Leads[0].Samples[32766], static_cast<uint8_t>(32766 * 7) - 128);

  // Files are read in blocks that halve towards the end.
  std::vector<uint32_t> blocks;
  uint32_t done = 0;
  for (uint32_t block = 1000; (block = ktx::acq::NextBlockSize(block, done, 2600)) != 0;) {
    blocks.push_back(block);
    done += block;
  }
  EXPECT_EQ(blocks, (std::vector<uint32_t>{1000, 1000, 500, 62, 31, 7}));
  std::vector<int> samples(2600);
  for (int i = 0; i < 2600; ++i) samples[i] = i * 13 - 16000;
  leads = file16.ReadEvent(folder.Write("s.bin", acqtest::Stream16(samples)).c_str(), &info, false,
                           5000.0, 1000.0);
  ASSERT_NE(leads, nullptr);
  ASSERT_EQ(info.SampleCount, 2600);
  EXPECT_EQ(Values(leads->Leads[0], 2600), samples);
}

TEST(StreamReaders, Failures) {
  test::TempFolder folder;
  C16BitReader file16;
  C8BitReader file8;
  C8BitMemReader memory8;
  C16BitMemReader memory16;
  const uint8_t byte = 1;
  const uint32_t bad = plat::kErrInvalidParameter;
  EXPECT_TRUE(test::FailedWith(file16.ReadEvent(nullptr, nullptr, false, 0, 0), bad));
  EXPECT_TRUE(test::FailedWith(file8.ReadEvent(folder.File("none").c_str(), nullptr, false, 0, 0),
                               plat::kErrFileNotFound));
  // No whole sample.
  EXPECT_TRUE(test::FailedWith(
      file16.ReadEvent(folder.Write("one", Bytes{1}).c_str(), nullptr, false, 0, 0), bad));
  EXPECT_TRUE(test::FailedWith(
      file8.ReadEvent(folder.Write("empty", Bytes{}).c_str(), nullptr, false, 0, 0), bad));
  EXPECT_TRUE(test::FailedWith(memory8.ReadEvent(nullptr, 1, nullptr, false, 0, 0), bad));
  EXPECT_TRUE(test::FailedWith(memory8.ReadEvent(&byte, 0, nullptr, false, 0, 0), bad));
  EXPECT_TRUE(test::FailedWith(memory16.ReadEvent(&byte, 1, nullptr, false, 0, 0), bad));
}

}  // namespace
