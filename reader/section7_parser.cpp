// Section 7: the global measurements; of the reference beat types only the first is read.
#include <cstring>

#include "platform/errors.h"
#include "format/section_body.h"
#include "reader/section_parsers.h"

namespace {

constexpr uint32_t kHeaderBytes = 6;  // beat types, pacemaker spikes, RR and PP intervals
constexpr uint32_t kBeatBytes = sizeof(SGlobalMeasurements) - kHeaderBytes;

}  // namespace

bool ParseSection7(plat::FileHandle file, const uint8_t* sectionHeader,
                   SGlobalMeasurements* measurements) {
  if (file == plat::kClosedFile || sectionHeader == nullptr || measurements == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  SectionBody body(file, sectionHeader);
  auto* bytes = reinterpret_cast<uint8_t*>(measurements);
  bool ok = body.Read(bytes, kHeaderBytes);
  // Without a reference beat type there is no beat block to read.
  if (ok && measurements->QRSTypes != 0) {
    std::memset(bytes + kHeaderBytes, 0, kBeatBytes);
    ok = body.Read(bytes + kHeaderBytes, kBeatBytes);
  }
  if (!ok) {
    // A short read may have filled part of the block.
    plat::KeepLastError keep;
    measurements->KillData();
  }
  return ok;
}
