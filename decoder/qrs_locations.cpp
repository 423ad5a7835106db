#include "decoder/waveform_steps.h"
#include "platform/errors.h"
#include "platform/little_endian.h"

bool ParseQrsLocations(const uint8_t* body, size_t size, SQrsLocations* out) {
  out->Zones.clear();
  out->HasProtected = false;
  if (size < 6) return plat::FailWith(plat::kErrInvalidData);
  out->MedianLengthMs = plat::GetLE16(body);
  out->MedianFiducial = plat::GetLE16(body + 2);
  const size_t count = plat::GetLE16(body + 4);
  if (6 + count * 14 > size) return plat::FailWith(plat::kErrInvalidData);
  out->Zones.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = body + 6 + i * 14;
    out->Zones[i].BeatType = plat::GetLE16(p);
    out->Zones[i].SubtractStart = plat::GetLE32(p + 2);
    out->Zones[i].Fiducial = plat::GetLE32(p + 6);
    out->Zones[i].SubtractEnd = plat::GetLE32(p + 10);
  }
  // The protected zones follow, for records compressed bimodally.
  const size_t protectedAt = 6 + count * 14;
  if (count > 0 && protectedAt + count * 8 <= size) {
    out->HasProtected = true;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* p = body + protectedAt + i * 8;
      out->Zones[i].ProtectStart = plat::GetLE32(p);
      out->Zones[i].ProtectEnd = plat::GetLE32(p + 4);
    }
  }
  return true;
}

void AddReferenceBeat(const SQrsLocations& qrs, const std::vector<int16_t>& median,
                      std::vector<int16_t>* rhythm) {
  const int64_t beatFiducial = qrs.MedianFiducial;
  for (const SQrsZone& zone : qrs.Zones) {
    if (zone.BeatType != 0 || zone.SubtractStart == 0) continue;
    for (int64_t s = zone.SubtractStart; s <= zone.SubtractEnd; ++s) {
      const int64_t beat = s - zone.Fiducial + beatFiducial;  // 1-based in the beat
      if (s > static_cast<int64_t>(rhythm->size())) break;
      if (beat < 1 || beat > static_cast<int64_t>(median.size())) continue;
      int16_t& sample = (*rhythm)[static_cast<size_t>(s - 1)];
      sample = static_cast<int16_t>(sample + median[static_cast<size_t>(beat - 1)]);
    }
  }
}
