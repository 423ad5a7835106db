// Where a wave leaves the baseline or returns to it, found as the knee of a curve: a
// flat line joined to a sloping one, fitted by least squares. On the logarithm of the
// spatial velocity the baseline's noise is the flat part and a wave's rise or fall the
// sloping one (velocities grow and decay roughly exponentially at a wave's edges), so
// the knee is where the wave leaves the noise, found from all the samples around it
// rather than from one threshold crossing.
#pragma once

#include <vector>

namespace ktx::engine {

struct Knee {
  int At = -1;         // the sample of the knee; -1 when none fits
  double Level = 0;    // the flat line
  double Slope = 0;    // rise (or fall) of the sloping line per sample, > 0
  double Scatter = 0;  // root mean square of the flat side about its line
};

// The knee of `y` over [from, to]: with `rising`, flat before it and rising after;
// otherwise falling before it and flat after.
Knee FitKnee(const std::vector<double>& y, int from, int to, bool rising);

// The edge of a wave on `logv`, the logarithm of a velocity: the knee fitted over
// [from, to] (rising: the wave lies after it), then inwards where the fitted line
// stands `factor` times above the fitted baseline, or `scatterFactor` times that
// baseline's own scatter where that is more; and no further out than the first sample
// from the knee inwards whose velocity does so (a sharp edge rises at once, whatever
// line is fitted through it). `inner` (inside the wave) when no knee fits.
int WaveEdge(const std::vector<double>& logv, int from, int to, int inner, bool rising,
             double factor, double scatterFactor);

}  // namespace ktx::engine
