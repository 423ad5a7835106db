// Delineation of the reference beat, all leads together. Wave boundaries are where
// the spatial velocity (the length of the vector of all leads' slopes) falls below a
// share of the wave's own steepest slope and stays there: QRS outwards from its
// steepest point, P around the largest deflection before the QRS, T end after the
// largest deflection after it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/median_beat.h"

namespace ktx::engine {

struct Delineation {
  bool HasP = false, HasT = false;
  int POnset = -1, POffset = -1, QrsOnset = -1, QrsOffset = -1, TPeak = -1, TOffset = -1;
};

// `rrSeconds` is the mean RR interval (0 when unknown); it bounds the T-wave search.
Delineation Delineate(const ReferenceBeat& beat, double rrSeconds);

// One lead's own QRS and T end on the reference beat, within the global ones.
struct LeadWaves {
  int QrsOnset = -1, QrsOffset = -1, TOffset = -1;
};

LeadWaves DelineateLead(const ReferenceBeat& beat, size_t lead, const Delineation& global);

struct FrontalAxes {
  int P, Qrs, T;  // degrees in (-90, 270], or kAxisUndefined
};

// Axes from the net areas of each wave in leads I and aVF (aVF from I and II when the
// record has no aVF).
FrontalAxes Axes(const ReferenceBeat& beat, const std::vector<uint16_t>& leadCodes,
                 const Delineation& d);

}  // namespace ktx::engine
