#include "format/section4.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/little_endian.h"

namespace {

constexpr size_t kHead = 6;
constexpr size_t kZone = 14;
constexpr size_t kProtected = 8;

size_t WrittenZones(const SQrsLocations& qrs) {
  return std::min<size_t>(qrs.Zones.size(), 65535);
}

}  // namespace

bool ParseQrsLocations(const uint8_t* body, size_t size, SQrsLocations* out) {
  out->Zones.clear();
  out->HasProtected = false;
  if (size < kHead) return plat::FailWith(plat::kErrInvalidData);
  out->MedianLengthMs = plat::GetLE16(body);
  out->MedianFiducial = plat::GetLE16(body + 2);
  const size_t count = plat::GetLE16(body + 4);
  if (kHead + count * kZone > size) return plat::FailWith(plat::kErrInvalidData);
  out->Zones.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = body + kHead + i * kZone;
    out->Zones[i].BeatType = plat::GetLE16(p);
    out->Zones[i].SubtractStart = plat::GetLE32(p + 2);
    out->Zones[i].Fiducial = plat::GetLE32(p + 6);
    out->Zones[i].SubtractEnd = plat::GetLE32(p + 10);
  }
  // The protected zones follow, for records compressed bimodally.
  const size_t protectedAt = kHead + count * kZone;
  if (count > 0 && protectedAt + count * kProtected <= size) {
    out->HasProtected = true;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* p = body + protectedAt + i * kProtected;
      out->Zones[i].ProtectStart = plat::GetLE32(p);
      out->Zones[i].ProtectEnd = plat::GetLE32(p + 4);
    }
  }
  return true;
}

size_t QrsLocationsSize(const SQrsLocations& qrs) {
  return kHead + WrittenZones(qrs) * (kZone + (qrs.HasProtected ? kProtected : 0));
}

void BuildQrsLocations(const SQrsLocations& qrs, uint8_t* body) {
  const size_t n = WrittenZones(qrs);
  plat::PutLE16(body, qrs.MedianLengthMs);
  plat::PutLE16(body + 2, qrs.MedianFiducial);
  plat::PutLE16(body + 4, static_cast<uint16_t>(n));
  uint8_t* out = body + kHead;
  for (size_t i = 0; i < n; ++i, out += kZone) {
    const SQrsZone& zone = qrs.Zones[i];
    plat::PutLE16(out, zone.BeatType);
    plat::PutLE32(out + 2, zone.SubtractStart);
    plat::PutLE32(out + 6, zone.Fiducial);
    plat::PutLE32(out + 10, zone.SubtractEnd);
  }
  if (!qrs.HasProtected) return;
  for (size_t i = 0; i < n; ++i, out += kProtected) {
    plat::PutLE32(out, qrs.Zones[i].ProtectStart);
    plat::PutLE32(out + 4, qrs.Zones[i].ProtectEnd);
  }
}
