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
  // From the global QRS onset to the peak of the last R wave (R' when there is one), ms;
  // 0 without an R wave.
  int RPeakTime = 0;
  // The P wave's last part below the PR level (V1's terminal force): depth (microvolts,
  // negative) and length (ms); 0 when the P wave ends above it.
  int PTerminalNegative = 0, PTerminalNegativeDuration = 0;
};

// One QRS complex of the recording, in time order.
struct BeatFindings {
  int QrsOnset = 0;  // ms from the start of the recording
  // 'N' the dominant shape, 'S' the dominant shape come early, 'V' another shape, 'U' a
  // beat no shape took.
  char Kind = 'N';
  bool Paced = false;        // a pacemaker spike just before the QRS
  bool AtrialPaced = false;  // a spike a PR interval before it, the QRS itself not paced
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
  // sinus P waves (fibrillation or flutter), their dominant rate (per minute) and how
  // alike one cycle is to the next (correlation over one cycle, 1 for a regular wave).
  bool FibrillatoryWaves = false;
  int AtrialWaveRate = 0;
  double AtrialWaveRegularity = 0;
  int AtrialPacedBeats = 0;

  // Every beat, and every P wave found between the beats whether it conducts or not
  // (onsets, ms from the start of the recording): the P-QRS relation beat by beat.
  std::vector<BeatFindings> Beats;
  std::vector<int> PWaves;
  int AtrialRate = 0;   // per minute from the median P-P interval; 0 with fewer than 3 P waves
  int PWaveShapes = 0;  // distinct P-wave shapes among them

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
