// Beat typing: beats are grouped by the correlation of their QRS (all leads together)
// with running templates; the largest group is the dominant type, the others are
// ectopic. Dominant-shaped beats that come early are supraventricular premature beats.
#pragma once

#include <vector>

#include "engine/qrs_detector.h"
#include "engine/signal.h"

namespace ktx::engine {

constexpr int kUnclassified = 255;

struct TypedBeats {
  std::vector<int> Types;       // per beat: 0 dominant, 1... other groups, kUnclassified
  std::vector<bool> Premature;  // dominant-shaped beats that came early
  // Per beat, the fiducial moved onto its group's template (the steepest slope can
  // hop between the up- and downstroke of one QRS from beat to beat).
  std::vector<int> Fiducials;
  int GroupCount = 0;
  int DominantCount = 0;
};

TypedBeats TypeBeats(const Signal& conditioned, const std::vector<DetectedBeat>& beats);

// Pacemaker spikes in `leads` of the raw signal: steps within a millisecond (a sample)
// far steeper than the lead's QRS upstrokes that turn back within a few milliseconds;
// samples, in time order, one per spike whatever the leads that show it.
std::vector<int> CountPacemakerSpikes(const Signal& raw, const std::vector<size_t>& leads);

// Replaces every lead around each spike (from a sample before to the end of its
// decay) by the straight line between the samples at the ends.
void BridgeSpikes(Signal& s, const std::vector<int>& spikes);

}  // namespace ktx::engine
