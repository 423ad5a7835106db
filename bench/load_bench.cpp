// Loading a 12-lead 10-second record into the reader object, every section asked for.
#include <benchmark/benchmark.h>

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

}  // namespace
