// Multi-lead QRS detection: the slopes of all leads, each scaled to its own typical
// QRS slope, are squared, summed and integrated over 100 ms; peaks of that feature
// pass adaptive signal and noise thresholds with a refractory period, a T-wave test
// and a search-back for beats missed after a long pause.
#pragma once

#include <vector>

#include "engine/signal.h"

namespace ktx::engine {

struct DetectedBeat {
  int Fiducial = 0;  // sample of the steepest combined slope
  double Strength = 0;
};

// Beats of a conditioned signal, in time order.
// `quality`, when given, receives the median beat strength over the median of the
// feature: near 1 for noise, far above for an ECG.
std::vector<DetectedBeat> DetectQrs(const Signal& conditioned, double* quality = nullptr);

}  // namespace ktx::engine
