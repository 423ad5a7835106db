// CRC throughput and the CRC check of a 12-lead 10-second record.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "bench_records.h"
#include "reader/reader.h"
#include "record/crc.h"
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

void BM_CheckCrc12Lead10s(benchmark::State& state) {
  test::TempFolder folder;
  const test::Bytes record = bench::TwelveLeadRecord();
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
