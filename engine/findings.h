// What the analysis chain measured on one recording, handed to the statement
// criteria. Durations and intervals in ms, amplitudes in microvolts, axes in degrees
// (-89..180 as the frontal plane is read; kAxisUndefined when a wave has no axis).
#pragma once

#include <cstdint>
#include <vector>

namespace ktx::engine {

constexpr int kAxisUndefined = 999;

struct LeadFindings {
  uint16_t LeadCode = 0;  // SCP-ECG lead code: 1 I, 2 II, 3-8 V1-V6, 61 III, 62-64 aVR-aVF
  int PAmplitudePlus = 0, PAmplitudeMinus = 0;
  int QAmplitude = 0, RAmplitude = 0, SAmplitude = 0;  // Q and S as negative values
  int RdashAmplitude = 0, SdashAmplitude = 0;          // R' and S', 0 when absent
  int QDuration = 0, RDuration = 0, SDuration = 0, RdashDuration = 0, SdashDuration = 0;
  int JPointAmplitude = 0, STJ20 = 0, STJ60 = 0, STJ80 = 0;  // ST levels against the PR baseline
  int TAmplitudePlus = 0, TAmplitudeMinus = 0;               // T- as a negative value
  int QRSDuration = 0, QTInterval = 0;                       // this lead's own, ms
};

struct Findings {
  // Rhythm, over the whole recording.
  int BeatCount = 0;
  int HeartRate = 0;           // beats per minute from the mean RR of dominant beats
  int MeanRR = 0, MeanPP = 0;  // ms; MeanPP 0 without P waves
  int RRStdDev = 0;            // ms, dominant-to-dominant intervals
  double RRIrregularity = 0;   // coefficient of variation of successive RR differences
  int VentricularEctopics = 0, SupraventricularEctopics = 0, PacedBeats = 0;
  int PacemakerSpikes = 0;
  bool PWavePresent = false;  // a P wave delineated on the reference beat before each QRS
  // Without conducted P waves: continuous atrial waves between the beats, faster than
  // sinus P waves (fibrillation or flutter).
  bool FibrillatoryWaves = false;

  // Global measurements on the reference beat.
  int PDuration = 0, PRInterval = 0, QRSDuration = 0, QTInterval = 0;
  int QTcBazett = 0, QTcFridericia = 0;
  int PAxis = kAxisUndefined, QRSAxis = kAxisUndefined, TAxis = kAxisUndefined;

  // Patient, from Section 1: 'M', 'F' or 'U'; age in years, -1 unknown.
  char Sex = 'U';
  int AgeYears = -1;

  std::vector<LeadFindings> Leads;  // one per lead of the record, in its order
};

// Statement codes in Section 9: at most 3 rhythm and 7 morphology codes, most
// important first.
struct Statements {
  std::vector<uint16_t> Rhythm;
  std::vector<uint16_t> Morphology;
};

// The diagnostic criteria: findings to statement codes.
Statements Interpret(const Findings& findings);

}  // namespace ktx::engine
