#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "acquisition/raw12_reader.h"
#include "encoders.h"
#include "info_text.h"
#include "platform/errors.h"
#include "platform/file.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

using acqtest::Bytes;
using acqtest::Concat;
using acqtest::Fields;
using acqtest::OneLeadRecord;
using acqtest::PairRecord;
using acqtest::Values;

namespace {

TEST(Raw12Reader, OneLeadRecordsMarkersAndRejects) {
  // 0xB8 0x70 is 1500; 0x80 0x02 and 0x80 0x03 are 1024 with status 2 and 3.
  const Bytes input = {0x80, 0x00, 0xFC, 0x7C, 0x00, 0x00, 0x80, 0x01, 0xB8, 0x70,
                       0x7F, 0x10, 0x80, 0x02, 0x80, 0x03, 0x80, 0x80, 0x85, 0x04};
  C12LMemReader reader;
  SECGInfo info{};
  SLeadObj* leads =
      reader.ReadEvent(input.data(), static_cast<uint32_t>(input.size()), &info, 1, 500.0, 4882.8);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(plat::LastError(), 0u);
  // 10 records, 3 out of sync. 0x85 0x04: b0 AND 0xFC gives 0x84 (1056), b1 gives 1;
  // rejected ones were overwritten. Device type 15, all leads simultaneous.
  EXPECT_EQ(Values(leads->Leads[0], 7),
            (std::vector<int>{1024, 2047, 2033, 1500, 2032, 2034, 1057}));
  EXPECT_EQ(Fields(info, "samples lead leads bits flags interval res serial"),
            "samples=7 lead=12 leads=1 bits=12 flags=0x1F interval=2000 res=4882 serial=");
  EXPECT_EQ((std::vector<int>{leads->LeadCount, leads->FilledLeads, leads->Leads[0].LeadIndex,
                              leads->Leads[0].LeadId}),
            (std::vector<int>{1, 1, 12, 255}));
}

TEST(Raw12Reader, PairRecordsChecksumsAndConfigurations) {
  C12LMemReader reader;
  SECGInfo info{};
  Bytes two = PairRecord({-2048, 100});
  SLeadObj* leads = reader.ReadEvent(two.data(), 4, &info, 2, 250.0, 5000.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(Fields(info, "samples lead"), "samples=1 lead=255");
  EXPECT_EQ((std::vector<int>{leads->Leads[0].Samples[0], leads->Leads[1].Samples[0],
                              leads->Leads[1].LeadIndex}),
            (std::vector<int>{-2048, 100, 1}));
  two = PairRecord({-2048, 100}, false);
  ASSERT_NE(reader.ReadEvent(two.data(), 4, &info, 2, 250.0, 5000.0), nullptr);
  EXPECT_EQ(info.SampleCount, 0);

  const std::vector<int> values = {0xFFF - 2048, 2047, -1, 0, 2031, -2000, 1234, -1234};
  const Bytes eight =
      Concat({PairRecord(values), PairRecord({1, 2, 3, 4, 5, 6, 7, 8}, false), PairRecord(values)});
  // The first pair as 0xFF 0xFF 0xFF, with the checksum made again.
  Bytes clamp = eight;
  clamp[0] = clamp[1] = clamp[2] = 0xFF;
  unsigned sum = 0;
  for (int i = 0; i < 12; ++i) sum += clamp[i];
  clamp[12] = static_cast<uint8_t>(sum);
  leads = reader.ReadEvent(clamp.data(), static_cast<uint32_t>(clamp.size()), &info, 8, 500.0, 1.0);
  ASSERT_NE(leads, nullptr);
  ASSERT_EQ(info.SampleCount, 2);
  const uint8_t indexes[] = {0, 1, 6, 7, 8, 9, 10, 11};
  const int expected[] = {2031, 2031, -1, 0, 2031, -2000, 1234, -1234};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(leads->Leads[i].LeadIndex, indexes[i]);
    // The second sample overwrote the reject.
    EXPECT_EQ(Values(leads->Leads[i], 2), (std::vector<int>(2, expected[i]))) << i;
  }

  // Configurations 6 and 12 are 2 and 8 under other names.
  for (const auto& [config, alias] : {std::pair<int16_t, int16_t>{2, 6}, {8, 12}}) {
    C12LMemReader a, b;
    SECGInfo ia{}, ib{};
    SLeadObj* la = a.ReadEvent(eight.data(), 39, &ia, config, 500.0, 1.0);
    SLeadObj* lb = b.ReadEvent(eight.data(), 39, &ib, alias, 500.0, 1.0);
    ASSERT_TRUE(la != nullptr && lb != nullptr);
    ia.Second = ib.Second = ia.Minute = ib.Minute = 0;  // read a moment apart
    EXPECT_EQ(std::memcmp(&ia, &ib, sizeof(ia)), 0);
    for (int i = 0; i < la->LeadCount; ++i) {
      EXPECT_EQ(Values(la->Leads[i], ia.SampleCount), Values(lb->Leads[i], ib.SampleCount));
    }
  }
}

TEST(Raw12Reader, BadArgumentsAndShortInput) {
  C12LMemReader reader;
  const Bytes record = PairRecord({1, 2});
  EXPECT_TRUE(test::FailedWith(reader.ReadEvent(record.data(), 4, nullptr, 3, 500.0, 1.0),
                               plat::kErrInvalidData));
  EXPECT_TRUE(test::FailedWith(reader.ReadEvent(nullptr, 4, nullptr, 2, 500.0, 1.0),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(reader.ReadEvent(record.data(), 0, nullptr, 2, 500.0, 1.0),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(reader.ReadEvent(record.data(), 3, nullptr, 2, 500.0, 1.0),
                               plat::kErrInvalidParameter));  // no whole record
  // A rate of 0 has no interval to give; the read still succeeds. -1 is kept in 16 bits.
  SECGInfo info{};
  ASSERT_NE(reader.ReadEvent(record.data(), 4, &info, 2, 0.0, -1.5), nullptr);
  EXPECT_EQ(Fields(info, "interval res"), "interval=0 res=65535");

  C12LReader file;
  test::TempFolder folder;
  EXPECT_TRUE(test::FailedWith(file.ReadEvent(nullptr, nullptr, 2, 500.0, 1.0),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(
      test::FailedWith(file.ReadEvent(folder.File("absent.raw").c_str(), nullptr, 2, 500.0, 1.0),
                       plat::kErrFileNotFound));
  const std::string name = folder.Write("short.raw", Bytes{0x80});
  EXPECT_TRUE(test::FailedWith(file.ReadEvent(name.c_str(), nullptr, 1, 500.0, 1.0),
                               plat::kErrInvalidParameter));
}

TEST(Raw12Reader, FileCapsCountAndTakesItsDate) {
  test::TempFolder folder;
  Bytes big;
  for (int i = 0; i < 35000; ++i) {
    const Bytes r = OneLeadRecord(1024 + i % 1000);
    big.insert(big.end(), r.begin(), r.end());
  }
  const std::string name = folder.Write("big.raw", big);
  // A file written 400 days ago carries last year's date or older, never today's.
  const auto then = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(name, then);
  plat::SystemTime w{};
  const plat::FileHandle handle = plat::OpenForRead(name.c_str());
  ASSERT_TRUE(plat::LastWriteTimeLocal(handle, &w));
  plat::CloseFile(handle);

  C12LReader reader;
  SECGInfo info{};
  SLeadObj* leads = reader.ReadEvent(name.c_str(), &info, 1, 500.0, 1.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.SampleCount, 32767);
  EXPECT_EQ(leads->Leads[0].Samples[32766], 1024 + 32766 % 1000);
  EXPECT_EQ(leads->Leads[0].Samples[32767], 0);
  EXPECT_LT(info.Year, plat::LocalTimeNow().Year);
  EXPECT_EQ((std::vector<int>{info.Year, info.Month, info.Day, info.Hour, info.Minute}),
            (std::vector<int>{w.Year, w.Month, w.Day, w.Hour, w.Minute}));

  // Bytes after the last whole record are ignored.
  const Bytes odd = Concat({PairRecord({5, 6}), PairRecord({7, 8}), {0x01, 0x02}});
  leads = reader.ReadEvent(folder.Write("odd.raw", odd).c_str(), &info, 2, 500.0, 1.0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.SampleCount, 2);
  EXPECT_EQ(leads->Leads[1].Samples[1], 8);
}

}  // namespace
