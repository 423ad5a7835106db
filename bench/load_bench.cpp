// Loading a 12-lead 10-second record into the reader object, every section asked for.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

#include "bench_records.h"
#include "reader/reader.h"
#include "support/temp_folder.h"

namespace {

// Loads the plain 12-lead record with `load` (Load or LoadDecoded) in every iteration.
template <typename LoadFn>
void LoadTwelveLeads(benchmark::State& state, LoadFn load) {
  test::TempFolder folder;
  const std::string path = folder.Write("12lead.scp", bench::TwelveLeadRecord());
  CReader reader;
  for (auto _ : state) {
    uint16_t loaded = 0;
    if (!std::invoke(load, reader, path.c_str(), &loaded, kAllSections) || !reader.HasRhythm) {
      state.SkipWithError("record did not load");
    }
    benchmark::DoNotOptimize(reader.Rhythm.LeadSamples);
  }
}

void BM_Load12Lead10s(benchmark::State& state) {
  LoadTwelveLeads(state, &CReader::Load);
}
BENCHMARK(BM_Load12Lead10s);

// The decoding load of an uncompressed record: what it costs beyond Load when nothing
// is to be decoded.
void BM_LoadDecodedPlain12Lead10s(benchmark::State& state) {
  LoadTwelveLeads(state, [](CReader& reader, const char* name, uint16_t* loaded, uint16_t request) {
    return reader.LoadDecoded(name, loaded, request);
  });
}
BENCHMARK(BM_LoadDecodedPlain12Lead10s);

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
