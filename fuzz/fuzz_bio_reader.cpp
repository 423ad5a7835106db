// CBioReader reads only files: each input is written to a temporary file first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "acquisition/bio_reader.h"
#include "platform/file.h"

namespace {

// The temporary input file, removed when the fuzzer exits.
struct TempInput {
  TempInput() {
    if (!plat::CreateTempFile("/tmp", "bio", &Path)) std::abort();
  }
  ~TempInput() { plat::RemoveFile(Path.c_str()); }
  std::string Path;
};

const std::string& InputFile() {
  static const TempInput input;
  return input.Path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A fresh file each time: truncating one that has data makes some file systems
  // write it out on close, which slows the run a hundredfold.
  plat::RemoveFile(InputFile().c_str());
  const plat::FileHandle file = plat::CreateAlways(InputFile().c_str());
  uint32_t written = 0;
  if (file == plat::kClosedFile ||
      !plat::WriteFile(file, data, static_cast<uint32_t>(size), &written)) {
    std::abort();
  }
  plat::CloseFile(file);

  CBioReader reader;
  int16_t count = 0;
  if (!reader.ReadEvents(InputFile().c_str(), &count)) return 0;
  // Touch every filled sample so that the sanitizer sees any overrun.
  long sum = 0;
  for (int16_t e = 0; e < count; ++e) {
    SECGInfo info{};
    const SLeadObj* leads = reader.GetEvent(&info, e);
    if (leads == nullptr) std::abort();
    for (unsigned l = 0; l < leads->FilledLeads; ++l) {
      for (unsigned i = 0; i < info.SampleCount; ++i) sum += leads->Leads[l].Samples[i];
    }
  }
  if (sum > 32767L * 32767 * 12 * 255 || sum < -32768L * 32768 * 12 * 255) std::abort();
  return 0;
}
