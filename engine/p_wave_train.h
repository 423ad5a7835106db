// Every P wave of the recording, conducted or not: the QRS-T of each beat is cancelled
// by the reference beat's own, and what stays between the beats is searched for waves
// of the P wave's shape (the reference beat's P wave, or, where the beats carry none
// that conducts, the shape most of the strongest atrial waves share). Blocked P waves
// on a T wave and P waves that march through the QRS rhythm are found so.
#pragma once

#include <vector>

#include "engine/delineation.h"
#include "engine/median_beat.h"
#include "engine/signal.h"

namespace ktx::engine {

struct PWaveTrain {
  std::vector<int> Onsets;  // samples, in time order
  int Shapes = 0;           // distinct shapes among them
};

PWaveTrain FindPWaves(const Signal& measured, const std::vector<int>& fiducials,
                      const std::vector<int>& types, const ReferenceBeat& beat,
                      const Delineation& waves);

}  // namespace ktx::engine
