#include "format/waveform_steps.h"

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
