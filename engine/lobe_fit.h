// Least-squares fit of one smooth wave: a half-sine lobe on a straight baseline. Used
// for the P wave, whose slow edges give a threshold crossing no firm footing once
// noise rides on them; the whole lobe weighs every sample of the wave instead.
#pragma once

#include <vector>

namespace ktx::engine {

struct FittedLobe {
  // The sample where the lobe leaves the baseline and the one before it returns, so
  // that Offset - Onset + 1 is its length; -1 when none fits.
  int Onset = -1, Offset = -1;
  double Amplitude = 0;
};

struct LobeSearch {
  int From = 0, To = 0;  // the samples fitted, both included
  int Peak = 0;          // the lobe must span this sample
  int MinLength = 2, MaxLength = 2;
  int Step = 1;  // grid of onsets and lengths, in samples
};

// The positive lobe of `y` that leaves the smallest residual.
FittedLobe FitLobe(const std::vector<double>& y, const LobeSearch& search);

}  // namespace ktx::engine
