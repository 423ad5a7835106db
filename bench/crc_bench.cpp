// CRC throughput and the CRC check of a 12-lead 10-second record.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "reader/reader.h"
#include "record/crc.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"

namespace {

void BM_CrcThroughput(benchmark::State& state) {
  std::vector<uint8_t> data(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 31 + 7);
  for (auto _ : state) {
    CCRC crc;
    crc.Add(data.data(), static_cast<uint32_t>(data.size()));
    benchmark::DoNotOptimize(crc.Value());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CrcThroughput)->Arg(1024)->Arg(1 << 20);

// Sections 1, 3 and 6 of a 12-lead, 500 Hz, 10-second record: 12 x 5000 samples.
test::Bytes TwelveLeadRecord() {
  const uint8_t codes[12] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  test::Bytes section3 = {12, 0x04 | (12 << 3)};
  for (uint8_t code : codes) {
    test::AppendU32(section3, 1);
    test::AppendU32(section3, 5000);
    section3.push_back(code);
  }
  test::Bytes section6 = {0xE8, 0x03, 0xD0, 0x07, 0, 0};
  for (int lead = 0; lead < 12; ++lead) test::AppendU16(section6, 10000);
  for (int lead = 0; lead < 12; ++lead) {
    for (int i = 0; i < 5000; ++i)
      test::AppendU16(section6, static_cast<uint16_t>((i * 13 + lead) % 2000));
  }
  test::Bytes section1 = {0, 4, 0, 'D', 'o', 'e', 0, 255, 0, 0};
  return test::RecordBuilder()
      .Section(1, section1)
      .Section(3, section3)
      .Section(6, section6)
      .Build();
}

void BM_CheckCrc12Lead10s(benchmark::State& state) {
  test::TempFolder folder;
  const test::Bytes record = TwelveLeadRecord();
  const std::string path = folder.Write("12lead.scp", record);
  for (auto _ : state) {
    bool valid = false;
    benchmark::DoNotOptimize(CReader::CheckCrc(path.c_str(), &valid));
    if (!valid) state.SkipWithError("record not valid");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(record.size()));
}
BENCHMARK(BM_CheckCrc12Lead10s);

}  // namespace
