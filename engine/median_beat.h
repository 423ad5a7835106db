// The reference beat: per lead and per sample, the median of the dominant beats
// aligned on their fiducial points.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/beat_typing.h"
#include "engine/signal.h"

namespace ktx::engine {

struct ReferenceBeat {
  double Rate = 0;
  int Fiducial = 0;                        // sample of the fiducial point (0-based)
  std::vector<std::vector<double>> Leads;  // microvolts
  std::vector<size_t> Used;                // the leads of the global boundaries
  int BeatsUsed = 0;
  std::vector<int> Members;  // the fiducials of the beats it is the median of
  size_t Length() const { return Leads.empty() ? 0 : Leads[0].size(); }
};

constexpr double kReferencePre = 0.4, kReferencePost = 0.6;  // seconds around the fiducial

ReferenceBeat MedianBeat(const Signal& conditioned, const std::vector<DetectedBeat>& beats,
                         const TypedBeats& types);

// Smooths the beat just as far as its noise asks: the noise above the QRS band sets a
// cutoff that leaves about half a microvolt of it. A clean beat keeps its edges sharp,
// a noisy one loses its noise.
void SmoothToNoise(ReferenceBeat& beat);

}  // namespace ktx::engine
