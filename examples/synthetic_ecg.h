// A synthetic 12-lead ECG for the example acquisitions.
//
// The heart is modelled as one electrical dipole (the heart vector) whose direction and
// size change through each beat: the P wave, four QRS components (septal, apical,
// lateral and basal activation) and the T wave, each a Gaussian bump in time along a
// fixed direction in space. Every lead is the projection of the heart vector on that
// lead's direction: I at 0 degrees and II at +60 degrees in the frontal plane, so that
// III = II - I and the augmented leads follow Einthoven and Goldberger exactly, and
// V1 to V6 around the chest in the horizontal plane from anterior-right (V1) to left
// lateral (V6), scaled up in the middle to stand for their nearness to the heart. The
// result shows the usual pattern: a positive P in I and II, an rS complex in V1, the
// R/S transition near V3, a tall R in V4, qR in V5 and V6, and upright T waves.
//
// Beats come at about 70 per minute with a slight, regular sinus arrhythmia (RR
// 857 ms +-25 ms). A slow baseline drift and a small deterministic noise ride on the
// heart vector too, so they appear in every lead in proportion.
#pragma once

#include <vector>

namespace synth {

// Axes: X towards the patient's left, Y towards the feet, Z towards the front.
struct Vector3 {
  double X;
  double Y;
  double Z;
};

// Leads in the standard 12-lead order (LeadIndex 0 to 11).
enum Lead { kI, kII, kIII, kAVR, kAVL, kAVF, kV1, kV2, kV3, kV4, kV5, kV6 };

// The heart vector in millivolts at `seconds` from the start of the recording.
Vector3 HeartVector(double seconds);

// The potential of `lead` in millivolts at `seconds`.
double LeadMillivolts(Lead lead, double seconds);

// `count` samples of `lead` taken `rate` times a second from `start` seconds on, in
// counts of `nanovolts` each, rounded and limited to [low, high].
std::vector<int> LeadCounts(Lead lead, double rate, double start, int count, double nanovolts,
                            int low, int high);

}  // namespace synth
