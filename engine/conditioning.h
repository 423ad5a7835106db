// Signal conditioning ahead of detection and delineation: baseline wander removal,
// a mains notch at 50 and 60 Hz and a low-pass, all without phase shift.
#pragma once

#include <vector>

#include "engine/signal.h"

namespace ktx::engine {

// Subtracts the baseline estimated by two median filters (200 ms, then 600 ms) run
// on a 50 Hz copy, so that QRS and T survive while drift goes.
void RemoveBaseline(std::vector<double>& x, double rate);
// Notches 50 Hz and 60 Hz where the rate leaves room for them.
void NotchMains(std::vector<double>& x, double rate);
// Second-order Butterworth low-pass, run forwards and backwards.
void LowPass(std::vector<double>& x, double rate, double cutoffHz);

// All three on every lead; gaps are held flat before filtering.
Signal Condition(const Signal& raw);

}  // namespace ktx::engine
