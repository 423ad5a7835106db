// Atrial activity beyond the reference beat: whether its P wave comes at the same
// place in the beats it was made from (a P wave that conducts does; fibrillation and
// flutter waves drift against the QRS and only average to something P-like).
#pragma once

#include <vector>

#include "engine/median_beat.h"
#include "engine/signal.h"

namespace ktx::engine {

// The energy of the reference beat's deflection over [from, to] (against its level
// just before `qrsOnset`), over the median energy of what each member beat differs
// from it there (each against its own level). Well above 1 for a P wave that every
// beat shows; near or below 1 when the beats disagree.
double Coupling(const Signal& measured, const ReferenceBeat& beat, int from, int to, int qrsOnset);

// What is left between the beats once every dominant beat's QRS-T is cancelled by the
// reference beat, in the atrial band, outside the QRS complexes: in the used lead where
// most is left, its size and its dominant frequency.
struct AtrialResidue {
  double RmsUv = 0;
  double DominantHz = 0;
  double Continuity = 0;  // share of the time it is at least half its usual size
  // Its correlation with itself one dominant cycle later: near 1 for flutter waves, low
  // for fibrillation, whose waves differ from cycle to cycle.
  double Regularity = 0;
};

AtrialResidue ResidueBetweenBeats(const Signal& measured, const std::vector<int>& fiducials,
                                  const std::vector<int>& types, const ReferenceBeat& beat);

}  // namespace ktx::engine
