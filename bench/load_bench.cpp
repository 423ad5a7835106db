// Loading a 12-lead 10-second record into the reader object, every section asked for.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_records.h"
#include "reader/reader.h"
#include "support/temp_folder.h"

namespace {

void BM_Load12Lead10s(benchmark::State& state) {
  test::TempFolder folder;
  const std::string path = folder.Write("12lead.scp", bench::TwelveLeadRecord());
  CReader reader;
  for (auto _ : state) {
    uint16_t loaded = 0;
    if (!reader.Load(path.c_str(), &loaded, kAllSections) || !reader.HasRhythm) {
      state.SkipWithError("record did not load");
    }
    benchmark::DoNotOptimize(reader.Rhythm.LeadSamples);
  }
}
BENCHMARK(BM_Load12Lead10s);

void BM_Load12Lead10sAndDerive(benchmark::State& state) {
  test::TempFolder folder;
  const std::string path = folder.Write("12lead.scp", bench::TwelveLeadRecord());
  CReader reader;
  for (auto _ : state) {
    uint16_t loaded = 0;
    reader.Load(path.c_str(), &loaded, kAllSections);
    benchmark::DoNotOptimize(reader.GenerateLeadErrors());
  }
}
BENCHMARK(BM_Load12Lead10sAndDerive);

// The record named by KTX_BENCH_RECORD, loaded as above: the C++ side of
// bench/python_read_bench.py, which times the Python package on the same file.
void BM_LoadNamedRecord(benchmark::State& state) {
  const char* path = std::getenv("KTX_BENCH_RECORD");
  if (path == nullptr) {
    state.SkipWithError("KTX_BENCH_RECORD names no record");
    return;
  }
  CReader reader;
  for (auto _ : state) {
    uint16_t loaded = 0;
    if (!reader.Load(path, &loaded, kAllSections) || !reader.HasRhythm) {
      state.SkipWithError("record did not load");
    }
    benchmark::DoNotOptimize(reader.Rhythm.LeadSamples);
  }
}
BENCHMARK(BM_LoadNamedRecord);

}  // namespace
