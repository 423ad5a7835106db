// Accuracy of the engine's QRS detection on MIT-BIH records. Each record is cut into
// 90-second segments that overlap by 10 s (a multi-lead Section 6 holds at most 32767
// samples per lead); each segment is written as an SCP-ECG file, analysed by the
// engine, and the QRS fiducials of its Section 4 are kept for the segment's middle
// part, so that every instant of the record is scored from exactly one segment.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "engine/ktxsys32.h"
#include "scoring.h"
#include "section4.h"
#include "segments.h"
#include "wfdb.h"

namespace {

using accuracy::kOverlapSeconds;
using accuracy::kSegmentSeconds;
using accuracy::SegmentRecord;

}  // namespace

int main(int argc, char** argv) {
  std::string folder = KTX_MITDB_DIR;
  std::vector<std::string> names;
  double limitSeconds = 0;
  bool verbose = false;
  bool driver = false;  // through CAnalysis, which fills V1-V6 with copies of lead II
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      folder = argv[++i];
    } else if (std::strcmp(argv[i], "--verbose") == 0) {
      verbose = true;
    } else if (std::strcmp(argv[i], "--driver") == 0) {
      driver = true;
    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      limitSeconds = std::atof(argv[++i]);
    } else {
      names.push_back(argv[i]);
    }
  }
  if (names.empty()) names = {"100", "101", "103", "105", "106", "119", "200", "208"};
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "ktx_accuracy.scp";

  std::printf("%-7s %7s %7s %5s %5s %7s %7s %9s\n", "Record", "Beats", "TP", "FN", "FP", "Se %",
              "+P %", "Engine s");
  accuracy::Score gross;
  bool ok = true;
  for (const std::string& name : names) {
    accuracy::WfdbRecord record;
    std::vector<long> reference;
    std::string error;
    const std::string path = folder + "/" + name;
    if (!accuracy::ReadRecord(path, &record, &error) ||
        !accuracy::ReadBeats(path, &reference, &error)) {
      std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
      ok = false;
      continue;
    }
    long total = static_cast<long>(record.Samples[0].size());
    if (limitSeconds > 0) total = std::min(total, static_cast<long>(limitSeconds * record.Rate));
    const long segment = static_cast<long>(kSegmentSeconds * record.Rate);
    const long overlap = static_cast<long>(kOverlapSeconds * record.Rate);
    std::vector<long> detected;
    double engineSeconds = 0;
    for (long from = 0; from < total; from += segment - overlap) {
      const long count = std::min(segment, total - from);
      {
        std::ofstream out(scratch, std::ios::binary);
        const test::Bytes bytes = SegmentRecord(record, from, count);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
      }
      const auto start = std::chrono::steady_clock::now();
      CAnalysis analysis;
      const int result = driver ? analysis.CreateAnalysis(scratch.string().c_str(), 0, false)
                                : ScpAnalysis32(scratch.string().c_str(), 1);
      engineSeconds +=
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (result != 0)
        std::fprintf(stderr, "%s at %ld: engine result %d\n", name.c_str(), from, result);
      // Keep the middle: from half the overlap in (none at the start) to half before the end.
      const long keepFrom = from == 0 ? 0 : overlap / 2;
      const long keepTo = from + count >= total ? count : count - overlap / 2;
      for (long f : accuracy::ReadQrsLocations(scratch.string()).Fiducials)
        if (f >= keepFrom && f < keepTo) detected.push_back(from + f);
      if (from + count >= total) break;
    }
    std::vector<long> scored;
    for (long r : reference)
      if (r < total) scored.push_back(r);
    const accuracy::Score s =
        accuracy::Compare(scored, detected, static_cast<long>(0.15 * record.Rate));
    gross += s;
    if (verbose) {
      for (long m : s.Missed)
        std::printf("  missed %s at %.2f s\n", name.c_str(), static_cast<double>(m) / record.Rate);
      for (long e : s.Extra)
        std::printf("  extra  %s at %.2f s\n", name.c_str(), static_cast<double>(e) / record.Rate);
    }
    std::printf("%-7s %7zu %7ld %5ld %5ld %7.2f %7.2f %9.3f\n", name.c_str(), scored.size(), s.TP,
                s.FN, s.FP, s.Sensitivity(), s.Predictivity(), engineSeconds);
  }
  std::printf("%-7s %7ld %7ld %5ld %5ld %7.2f %7.2f\n", "Gross", gross.TP + gross.FN, gross.TP,
              gross.FN, gross.FP, gross.Sensitivity(), gross.Predictivity());
  std::filesystem::remove(scratch);
  return ok ? 0 : 1;
}
