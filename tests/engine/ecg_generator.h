// Test ECGs with exact ground truth. One heart dipole per wave (P, Q/R/S lobes, T),
// each along its own direction; every lead is the projection on the lead's axis, so
// wave boundaries are the same instants in all leads and the frontal axes are the
// wave directions. Waves are half-sine lobes with sharp edges (the T wave rises
// smoothly and ends sharply), so their onsets and offsets are exact instants.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/signal.h"
#include "support/record_builder.h"

namespace testgen {

struct Options {
  double Rate = 500, Seconds = 10, HeartRate = 70;
  double PDuration = 0.10, PR = 0.16, QrsDuration = 0.09, QT = 0.38;  // seconds
  double PAmplitude = 150, QAmplitude = 100, RAmplitude = 1200, SAmplitude = 300,
         TAmplitude = 350;                      // microvolts along each wave's direction
  double PAxis = 50, QrsAxis = 45, TAxis = 40;  // frontal plane, degrees
  double NoiseUv = 0, WanderUv = 0, MainsUv = 0, MainsHz = 50;
  std::vector<int> Ectopic;  // beat numbers replaced by early, wide ventricular beats
  std::vector<int> Paced;    // beat numbers preceded by a pacemaker spike
  std::vector<int> Dropped;  // beat numbers left out altogether: a pause
  // The atria on their own: P waves at AtrialRate, each doing in turn what PRs says
  // (seconds: the PR that conducts it, or a negative value: blocked). Dissociated: the
  // QRS complexes come at HeartRate whatever the P waves do.
  double AtrialRate = 0;
  std::vector<double> PRs;
  bool Dissociated = false;
  // Pre-excitation: a slurred upstroke of DeltaWave seconds ahead of the QRS, taken out
  // of the PR; its size along the QRS direction.
  double DeltaWave = 0, DeltaUv = 300;
  std::vector<int> AtrialPaced;  // beat numbers whose P wave a pacemaker spike starts
  // The spike: one sample of SpikeUv 4 ms ahead of the QRS; a unipolar one then decays
  // through the recorder's high-pass (3 ms), a bipolar one is gone at the next sample.
  double SpikeUv = 3000;
  bool SpikeDecays = false;
  // Stretches (seconds) where lead `LeadOffLead` carries the marker 2032.
  std::vector<std::pair<double, double>> LeadOff;
  int LeadOffLead = 0;
  unsigned Seed = 1;
  bool TwelveLeads = false;  // add III, aVR, aVL and aVF after V6
};

struct BeatTruth {
  double POnset, POffset, QrsOnset, QrsOffset, TOffset;  // seconds
  bool Ectopic;
};

// Leads I, II, V1-V6 (then III, aVR, aVL, aVF) in microvolts, and where each wave is.
struct Ecg : ktx::engine::Signal {
  std::vector<BeatTruth> Beats;
};

Ecg Generate(const Options& options);

// The projection of a unit wave of frontal axis `axis` on lead I, II, V1... (lead index).
double Projection(size_t lead, double axisDegrees, double z);

// The generated leads as the engine takes them.
inline ktx::engine::Signal ToSignal(const Ecg& ecg) {
  return ecg;
}

// An SCP-ECG record: Sections 1, 3 and 6, samples in units of `avm` nanovolts.
test::Bytes ScpRecord(const Ecg& ecg, uint16_t avm = 2500);

}  // namespace testgen
