// The engine call alone, on a 10-second 12-lead record at 500 Hz and on a whole
// 30-minute MIT-BIH record (its 90-second segments, files written beforehand).
#include <benchmark/benchmark.h>

#include <vector>

#include "accuracy/segments.h"
#include "engine/ecg_generator.h"
#include "engine/ktxsys32.h"
#include "engine/ludb_signal.h"
#include "support/temp_folder.h"

namespace {

void BM_Engine12Lead10s(benchmark::State& state) {
  testgen::Options o;
  o.TwelveLeads = true;
  o.NoiseUv = 20;
  test::TempFolder folder;
  const std::string path = folder.Write("12lead.scp", testgen::ScpRecord(testgen::Generate(o)));
  for (auto _ : state) {
    if (ScpAnalysis32(path.c_str(), static_cast<int32_t>(state.range(0))) != 0)
      state.SkipWithError("analysis failed");
  }
}
BENCHMARK(BM_Engine12Lead10s)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A real 12-lead record of the same length (LUDB 135, the tests' normal ECG).
void BM_EngineLudb12Lead10s(benchmark::State& state) {
  testgen::LudbSignal record;
  if (!testgen::ReadLudb(KTX_LUDB_FIXTURES "/135", &record)) {
    state.SkipWithError("LUDB record 135 missing");
    return;
  }
  testgen::Ecg ecg;
  static_cast<ktx::engine::Signal&>(ecg) = record;
  test::TempFolder folder;
  const std::string path = folder.Write("ludb135.scp", testgen::ScpRecord(ecg));
  for (auto _ : state) {
    if (ScpAnalysis32(path.c_str(), 1) != 0) state.SkipWithError("analysis failed");
  }
}
BENCHMARK(BM_EngineLudb12Lead10s)->Unit(benchmark::kMillisecond);

void BM_EngineMitRecord100(benchmark::State& state) {
  accuracy::WfdbRecord record;
  std::string error;
  if (!accuracy::ReadRecord(KTX_MITDB_DIR "/100", &record, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  test::TempFolder folder;
  std::vector<std::string> files;
  const long total = static_cast<long>(record.Samples[0].size());
  const long segment = static_cast<long>(accuracy::kSegmentSeconds * record.Rate);
  const long step = segment - static_cast<long>(accuracy::kOverlapSeconds * record.Rate);
  for (long from = 0; from < total; from += step) {
    const long count = std::min(segment, total - from);
    files.push_back(folder.Write("s" + std::to_string(files.size()) + ".scp",
                                 accuracy::SegmentRecord(record, from, count)));
    if (from + count >= total) break;
  }
  for (auto _ : state) {
    for (const std::string& f : files) benchmark::DoNotOptimize(ScpAnalysis32(f.c_str(), 1));
  }
}
BENCHMARK(BM_EngineMitRecord100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
