// Section 7: the global measurements; of the reference beat types only the first is read.
#include <cstring>

#include "format/section7.h"
#include "format/section_body.h"
#include "platform/errors.h"
#include "platform/little_endian.h"

namespace {

constexpr uint32_t kHeaderBytes = 6;  // beat types, pacemaker spikes, RR and PP intervals
constexpr uint32_t kBeatBytes = sizeof(SGlobalMeasurements) - kHeaderBytes;
constexpr uint32_t kSpikeBytes = 4;      // time and amplitude
constexpr uint32_t kSpikeInfoBytes = 6;  // type, source, trigger index and width
// QRS count; ventricular rate, atrial rate, QTc and its formula; two zero bytes.
constexpr uint32_t kTrailBytes = 2 + 2 + 2 + 2 + 1 + 2;
constexpr uint8_t kSpikeTypeUnknown = 255;

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

uint32_t Section7BodySize(const SSection7Content& content) {
  return kHeaderBytes + kBeatBytes +
         (kSpikeBytes + kSpikeInfoBytes) * content.Global.PossiblePacemakerSpikes + kTrailBytes +
         content.QrsCount;
}

void BuildSection7(const SSection7Content& content, uint8_t* body) {
  const SGlobalMeasurements& g = content.Global;
  body[0] = g.QRSTypes;
  body[1] = g.PossiblePacemakerSpikes;
  const uint16_t words[] = {g.AvRRms,
                            g.AvPPms,
                            g.POnsetms,
                            g.POffsetms,
                            g.QRSOnsetms,
                            g.QRSOffsetms,
                            g.TOffsetms,
                            static_cast<uint16_t>(g.PAxis),
                            static_cast<uint16_t>(g.QRSAxis),
                            static_cast<uint16_t>(g.TAxis)};
  uint8_t* out = body + 2;
  for (uint16_t word : words) {
    plat::PutLE16(out, word);
    out += 2;
  }
  const unsigned spikes = g.PossiblePacemakerSpikes;
  for (unsigned i = 0; i < spikes; ++i, out += kSpikeBytes)
    plat::PutLE16(out, content.SpikeTimes[i]);
  for (unsigned i = 0; i < spikes; ++i, out += kSpikeInfoBytes) out[0] = kSpikeTypeUnknown;
  plat::PutLE16(out, content.QrsCount);
  out += 2;
  for (unsigned i = 0; i < content.QrsCount; ++i) *out++ = content.QrsTypes[i];
  plat::PutLE16(out, content.VentricularRate);
  plat::PutLE16(out + 2, content.AtrialRate);
  plat::PutLE16(out + 4, content.QTc);
  out[6] = content.QTcFormula;
}
