// Signal conditioning ahead of detection and delineation: baseline wander removal,
// a mains notch at 50 and 60 Hz and a low-pass, all without phase shift.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/signal.h"

namespace ktx::engine {

// Subtracts the baseline estimated by two median filters (200 ms, then 600 ms) run
// on a 50 Hz copy, so that QRS and T survive while drift goes.
void RemoveBaseline(std::vector<double>& x, double rate);
// Whether `x`, its samples marked in `skip` left out, carries mains hum at `hz`: a
// spectral line standing well above the spectrum beside it.
bool CarriesMains(const std::vector<double>& x, const std::vector<uint8_t>& skip, double rate,
                  double hz);
// Notches `hz` where the rate leaves room for it.
void NotchMains(std::vector<double>& x, double rate, double hz);
// Second-order Butterworth low-pass, run forwards and backwards.
void LowPass(std::vector<double>& x, double rate, double cutoffHz);
// Second-order Butterworth high-pass, run forwards and backwards.
void HighPass(std::vector<double>& x, double rate, double cutoffHz);

// The baseline removed from every lead.
Signal WithoutBaseline(const Signal& raw);
// The leads detection looks at (UsedLeads) notched and low-passed at `lowPassHz`.
Signal DetectionBand(const Signal& base, double lowPassHz);
// Both; gaps are held flat before filtering.
Signal Condition(const Signal& raw, double lowPassHz);
// For measuring waves: the notch only on leads whose quiet parts (outside the QRS
// complexes at `fiducials`) carry hum, and no low-pass. Filters ring and spread after
// every steep QRS edge and would blur the boundaries; the reference beat is smoothed
// afterwards as far as its own noise asks (SmoothToNoise).
void NotchWhereHum(Signal& base, const std::vector<int>& fiducials);

}  // namespace ktx::engine
