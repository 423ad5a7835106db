// The diagnostic criteria on hand-made findings: each threshold just inside and just
// outside, from a normal adult ECG changed in one respect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/findings.h"
#include "engine/statement_codes.h"
#include "engine/statements/catalogue.h"

namespace {

using F = ktx::engine::Findings;
using L = ktx::engine::LeadFindings;
using Codes = std::vector<uint16_t>;
using Change = std::function<void(F&)>;
using namespace ktx::engine::code;  // NOLINT(google-build-using-namespace)

constexpr uint16_t kI = 1, kII = 2, kV1 = 3, kV2 = 4, kV3 = 5, kV4 = 6, kV5 = 7, kV6 = 8;
constexpr uint16_t kIII = 61, kAVR = 62, kAVL = 63, kAVF = 64;
const Codes kLimb = {kI, kII, kIII, kAVR, kAVL, kAVF};
const Codes kChest = {kV1, kV2, kV3, kV4, kV5, kV6};
const Codes kAll = {kI, kII, kIII, kAVR, kAVL, kAVF, kV1, kV2, kV3, kV4, kV5, kV6};

template <typename T>
Change Set(T F::*field, T value) {
  return [=](F& f) { f.*field = value; };
}
Change In(Codes leads, int L::*field, int value) {
  return [=](F& f) {
    for (L& l : f.Leads) {
      if (std::find(leads.begin(), leads.end(), l.LeadCode) != leads.end()) l.*field = value;
    }
  };
}
Change All(std::vector<Change> changes) {
  return [=](F& f) {
    for (const Change& c : changes) c(f);
  };
}

// Sinus rhythm at 70/min, PR 160, QRS 90, QTc 410, axis +60, a man of 50; every lead
// R 1.0 mV, S 0.3 mV, upright T, except V1 with its rS.
F NormalEcg() {
  F f;
  All({Set(&F::BeatCount, 10), Set(&F::HeartRate, 70), Set(&F::MeanRR, 857), Set(&F::MeanPP, 857),
       Set(&F::RRStdDev, 20), Set(&F::RRIrregularity, 0.02), Set(&F::PWavePresent, true),
       Set(&F::PDuration, 100), Set(&F::PRInterval, 160), Set(&F::QRSDuration, 90),
       Set(&F::QTInterval, 380), Set(&F::QTcBazett, 415), Set(&F::QTcFridericia, 410),
       Set(&F::PAxis, 50), Set(&F::QRSAxis, 60), Set(&F::TAxis, 40), Set(&F::Sex, 'M'),
       Set(&F::AgeYears, 50)})(f);
  for (uint16_t lead : kAll) f.Leads.push_back(L{lead});
  All({In(kAll, &L::RAmplitude, 1000), In(kAll, &L::SAmplitude, -300), In(kAll, &L::RDuration, 40),
       In(kAll, &L::SDuration, 20), In(kAll, &L::TAmplitudePlus, 300),
       In({kV1}, &L::RAmplitude, 300), In({kV1}, &L::SAmplitude, -1000)})(f);
  return f;
}

const auto Rate = [](int bpm) { return Set(&F::HeartRate, bpm); };
const auto Axis = [](int degrees) { return Set(&F::QRSAxis, degrees); };
const auto PR = [](int ms) { return Set(&F::PRInterval, ms); };
const auto Irregular = [](double cv) { return Set(&F::RRIrregularity, cv); };
const auto NoP = [](double cv, int beats) {
  return All({Set(&F::PWavePresent, false), Irregular(cv), Set(&F::BeatCount, beats)});
};
const auto QTc = [](char sex, int fridericia, int bazett = 400) {
  return All({Set(&F::Sex, sex), Set(&F::QTcFridericia, fridericia), Set(&F::QTcBazett, bazett)});
};
// rsR' in V1 and a broad S in I and V6 when `right`; else the R peaking late in V5
// and V6.
const auto Qrs = [](int ms, bool right) {
  if (!right) return All({Set(&F::QRSDuration, ms), In({kV5, kV6}, &L::RPeakTime, 61)});
  return All({Set(&F::QRSDuration, ms), In({kV1}, &L::RdashAmplitude, 800),
              In({kI, kV6}, &L::SDuration, 60)});
};
const auto Voltage = [](Codes leads, int peakToPeak) {
  return All({In(leads, &L::RAmplitude, peakToPeak - 100), In(leads, &L::SAmplitude, -100)});
};
const auto Sokolow = [](int sv1, int rv5) {
  return All({In({kV1}, &L::SAmplitude, -sv1), In({kV5}, &L::RAmplitude, rv5)});
};
const auto Cornell = [](char sex, int ravl, int sv3) {
  return All(
      {Set(&F::Sex, sex), In({kAVL}, &L::RAmplitude, ravl), In({kV3}, &L::SAmplitude, -sv3)});
};
const auto J = [](Codes leads, int uv, char sex = 'M', int age = 50, int qrs = 90) {
  return All({Set(&F::Sex, sex), Set(&F::AgeYears, age), Set(&F::QRSDuration, qrs),
              In(leads, &L::JPointAmplitude, uv)});
};
// ST level at the J point, J+60 and J+80: flat when `rise` is 0.
const auto ST = [](Codes leads, int uv, int rise = 0, int qrs = 90) {
  return All({Set(&F::QRSDuration, qrs), In(leads, &L::JPointAmplitude, uv),
              In(leads, &L::STJ60, uv + rise * 3 / 4), In(leads, &L::STJ80, uv + rise)});
};
const auto TNegative = [](int uv, int qrs = 90) {
  return All({Set(&F::QRSDuration, qrs), In({kII, kAVF}, &L::TAmplitudePlus, 0),
              In({kII, kAVF}, &L::TAmplitudeMinus, -uv)});
};
const auto QWave = [](Codes leads, int duration, int depth) {
  return All({In(leads, &L::QDuration, duration), In(leads, &L::QAmplitude, -depth)});
};
// QRS onsets (ms) of beats of the kinds given ('N', 'V'), `spacing` apart.
Change Kinds(std::string kinds, int spacing = 800) {
  return [=](F& f) {
    f.Beats.clear();
    for (size_t i = 0; i < kinds.size(); ++i)
      f.Beats.push_back({200 + static_cast<int>(i) * spacing, kinds[i], false, false});
    f.VentricularEctopics = static_cast<int>(std::count(kinds.begin(), kinds.end(), 'V'));
  };
}
// P waves every `pp` ms over 10 s, each conducted at the PR of `prs` in turn (-1:
// blocked); or, with `rr`, the ventricles beating every `rr` ms on their own.
Change Atria(int pp, std::vector<int> prs, int rr = 0) {
  return [=](F& f) {
    std::vector<int> qrs;
    f.PWaves.clear();
    for (int k = 0; 200 + k * pp < 10000; ++k) {
      const int p = 200 + k * pp, pr = prs[static_cast<size_t>(k) % prs.size()];
      f.PWaves.push_back(p);
      if (rr == 0 && pr >= 0 && p + pr < 10000) qrs.push_back(p + pr);
    }
    for (int t = 450; rr > 0 && t < 10000; t += rr) qrs.push_back(t);
    f.Beats.clear();
    double sum = 0, successive = 0;
    for (size_t b = 0; b < qrs.size(); ++b) {
      f.Beats.push_back({qrs[b], 'N', false, false});
      if (b > 0) sum += qrs[b] - qrs[b - 1];
      if (b > 1) {
        const double d = (qrs[b] - qrs[b - 1]) - (qrs[b - 1] - qrs[b - 2]);
        successive += d * d;
      }
    }
    const double mean = sum / static_cast<double>(qrs.size() - 1);
    f.BeatCount = static_cast<int>(qrs.size());
    f.HeartRate = static_cast<int>(60000 / mean + 0.5);
    f.RRIrregularity = std::sqrt(successive / static_cast<double>(qrs.size() - 2)) / mean;
    f.AtrialRate = 60000 / pp;
    f.PWavePresent = false;
  };
}
// Continuous atrial waves at `rate` a minute, one cycle like the next by `regular`.
const auto Flutter = [](int rate, double regular, int bpm, double cv) {
  return All({Set(&F::PWavePresent, false), Set(&F::FibrillatoryWaves, true),
              Set(&F::AtrialWaveRate, rate), Set(&F::AtrialWaveRegularity, regular), Rate(bpm),
              Irregular(cv)});
};
// A short PR on the reference beat and in every beat, a broad QRS.
const auto Preexcited = [](int pr) {
  return All({Atria(857, {pr}), Set(&F::PWavePresent, true), PR(pr), Qrs(120, false)});
};
const auto LeftAnterior = [](int axis, int rPeakTime) {
  return All({Axis(axis), In({kAVL}, &L::QAmplitude, -100), In({kAVL}, &L::RPeakTime, rPeakTime)});
};
const auto LeftPosterior = [](int axis) {
  return All({Axis(axis), In({kI, kAVL}, &L::RAmplitude, 100), In({kI, kAVL}, &L::SAmplitude, -800),
              In({kIII, kAVF}, &L::QAmplitude, -100)});
};

// A statement, the changes that must make it and those that must not.
struct Criterion {
  uint16_t Code;
  std::vector<Change> Stated, NotStated;
};

const Criterion kCriteria[] = {
    {kSinusRhythm, {Rate(60)}, {}},
    {kSinusBradycardia, {Rate(59)}, {Rate(60)}},
    {kSinusTachycardia, {Rate(101)}, {Rate(100)}},
    {kSinusArrhythmia, {Irregular(0.11)}, {Irregular(0.10)}},
    // Irregular without P waves, or regular with atrial waves between the beats.
    {kAtrialFibrillation,
     {NoP(0.11, 8), All({NoP(0.02, 10), Set(&F::FibrillatoryWaves, true)})},
     {NoP(0.11, 7), NoP(0.10, 10)}},
    {kIrregularRhythm, {NoP(0.11, 7)}, {}},
    {kUndeterminedRhythm,
     {All({NoP(0.10, 10), Set(&F::QRSDuration, 120)}), Set(&F::BeatCount, 0)},
     {}},
    {kPacedRhythm,
     {Set(&F::PacedBeats, 5)},
     {Set(&F::PacedBeats, 4), All({Set(&F::PacedBeats, 5), Set(&F::AtrialPacedBeats, 5)})}},
    {kAtrialPacedRhythm, {Set(&F::AtrialPacedBeats, 5)}, {Set(&F::AtrialPacedBeats, 4)}},
    {kDualPacedRhythm,
     {All({Set(&F::PacedBeats, 5), Set(&F::AtrialPacedBeats, 5)})},
     {All({Set(&F::PacedBeats, 5), Set(&F::AtrialPacedBeats, 4)})}},
    // Flutter at 240-340/min, regular; the ratio when the ventricles follow it.
    {kAtrialFlutter,
     {Flutter(240, 0.5, 80, 0.2), Flutter(340, 0.5, 80, 0.2)},
     {Flutter(239, 0.5, 80, 0.2), Flutter(341, 0.5, 80, 0.2), Flutter(300, 0.49, 80, 0.2),
      Flutter(300, 0.5, 150, 0.02)}},
    {kAtrialFlutter2To1,
     {Flutter(300, 0.8, 150, 0.02), Flutter(300, 0.8, 137, 0.02)},
     {Flutter(300, 0.8, 136, 0.02), Flutter(300, 0.8, 150, 0.11)}},
    {kAtrialFlutter3To1, {Flutter(300, 0.8, 100, 0.02)}, {}},
    {kAtrialFlutter4To1, {Flutter(300, 0.8, 75, 0.02)}, {}},
    // Regular and narrow without atrial activity, named by rate.
    {kJunctionalRhythm,
     {All({NoP(0.02, 10), Rate(59)})},
     {All({NoP(0.02, 10), Rate(60)}), All({NoP(0.02, 10), Rate(59), Set(&F::QRSDuration, 120)})}},
    {kAcceleratedJunctional,
     {All({NoP(0.02, 10), Rate(60)}), All({NoP(0.02, 10), Rate(100)}),
      All({Set(&F::PAxis, -30), PR(119)})},
     {All({NoP(0.02, 10), Rate(101)})}},
    {kSupraventricularTachycardia, {All({NoP(0.02, 10), Rate(101)})}, {}},
    // P waves inverted in II, III and aVF after a normal PR.
    {kEctopicAtrialRhythm,
     {All({Set(&F::PAxis, -30), PR(120)}), All({Set(&F::PAxis, -150), PR(160)})},
     {Set(&F::PAxis, -29), Set(&F::PAxis, -151), All({Set(&F::PAxis, -30), PR(119)})}},
    {kWanderingPacemaker,
     {All({Atria(857, {130, 190, 160}), Set(&F::PWaveShapes, 3)})},
     {All({Atria(857, {130, 190, 160}), Set(&F::PWaveShapes, 2)}),
      All({Atria(857, {160}), Set(&F::PWaveShapes, 3)})}},
    // AV block from the P waves beat by beat: the PR before a blocked P wave against the
    // one after it; the atria independent and faster than slow, regular ventricles.
    {kMobitzI,
     {Atria(800, {160, 240, 280, -1}), Atria(800, {160, 180, -1})},
     {Atria(800, {160, 179, -1}), Atria(800, {160})}},
    {kMobitzII,
     {Atria(800, {160, 160, 160, -1}), Atria(800, {160, 179, -1})},
     {Atria(800, {160, 180, -1}), Atria(800, {160})}},
    {kAVBlock2To1, {Atria(750, {160, -1})}, {Atria(750, {160}), Atria(750, {160, 160, -1})}},
    {kThirdDegreeAVBlock,
     {Atria(800, {0}, 1450), All({Atria(800, {0}, 1000), Set(&F::PacedBeats, 10)})},
     {Atria(800, {0}, 1000), Atria(800, {160, -1})}},
    // Not among paced beats; early beats are premature against a sinus rhythm only.
    {kVentricularPremature,
     {Set(&F::VentricularEctopics, 1)},
     {All({Set(&F::VentricularEctopics, 1), Set(&F::PacedBeats, 10)})}},
    // Ventricular beats in patterns: three cycles in a row, two in a row, three or more
    // at 100/min or faster.
    {kVentricularBigeminy, {Kinds("NNVNVNVN")}, {Kinds("NNVNVNNN")}},
    {kVentricularTrigeminy, {Kinds("NNVNNVNNVN")}, {Kinds("NNVNNVNNNN")}},
    {kVentricularCouplet, {Kinds("NNVVNN")}, {Kinds("NVNNVN"), Kinds("NVVVN", 600)}},
    {kVentricularTachycardiaRun, {Kinds("NNVVVNN", 600)}, {Kinds("NNVVVNN", 601)}},
    {kSupraventricularPremature,
     {Set(&F::SupraventricularEctopics, 1)},
     {All({Set(&F::SupraventricularEctopics, 1), NoP(0.3, 20)})}},
    {kNormalAxis, {Axis(-30)}, {Axis(ktx::engine::kAxisUndefined)}},
    {kLeftAxisDeviation, {Axis(-31)}, {Axis(-30)}},
    {kRightAxisDeviation, {Axis(91)}, {Axis(90)}},
    {kFirstDegreeAVBlock, {PR(201)}, {PR(200), All({PR(240), Set(&F::PWavePresent, false)})}},
    {kShortPR, {PR(119)}, {PR(120)}},
    // A QS in V1 (stored as a Q wave) is negative; a septal q or a broad S in I and V6
    // is no LBBB.
    {kLeftBundleBranchBlock,
     {Qrs(120, false), All({Qrs(120, false), In({kV1}, &L::QAmplitude, -1000),
                            In({kV1}, &L::RAmplitude, 0), In({kV1}, &L::SAmplitude, 0)})},
     {Qrs(119, false), All({Qrs(120, false), In({kV6}, &L::QAmplitude, -100)}),
      All({Qrs(120, false), In({kI, kV6}, &L::SDuration, 60)}),
      All({Qrs(120, false), In({kV6}, &L::RPeakTime, 60)})}},
    {kRightBundleBranchBlock, {Qrs(120, true)}, {Qrs(119, true)}},
    // The R' in V1 or V2 taller or broader than the R; a small brief one is the J point.
    {kIncompleteRBBB,
     {Qrs(119, true), All({Qrs(110, true), In({kV1}, &L::RdashAmplitude, 0),
                           In({kV2}, &L::RdashAmplitude, 50), In({kV2}, &L::RdashDuration, 41)})},
     {Qrs(109, true), All({Qrs(110, true), In({kV1}, &L::RdashAmplitude, 0),
                           In({kV2}, &L::RdashAmplitude, 50), In({kV2}, &L::RdashDuration, 40)})}},
    {kIncompleteLBBB,
     {All({Set(&F::QRSDuration, 110), Sokolow(1500, 2000), In({kV5}, &L::RPeakTime, 61)})},
     {All({Set(&F::QRSDuration, 110), Sokolow(1500, 2000), In({kV5}, &L::RPeakTime, 60)}),
      All({Set(&F::QRSDuration, 109), Sokolow(1500, 2000), In({kV5}, &L::RPeakTime, 61)}),
      All({Set(&F::QRSDuration, 110), Sokolow(1500, 2000), In({kV5}, &L::RPeakTime, 61),
           In({kV6}, &L::QAmplitude, -100)})}},
    // With RBBB too (bifascicular).
    {kLeftAnteriorFascicularBlock,
     {LeftAnterior(-45, 45), LeftAnterior(-90, 45), All({LeftAnterior(-60, 50), Qrs(130, true)})},
     {LeftAnterior(-44, 45), LeftAnterior(-60, 44), All({LeftAnterior(-60, 50), Qrs(130, false)})}},
    {kLeftPosteriorFascicularBlock,
     {LeftPosterior(120), All({LeftPosterior(120), Set(&F::AgeYears, -1)})},
     {LeftPosterior(119), All({LeftPosterior(130), Set(&F::AgeYears, 15)})}},
    // The short PR found beat by beat too.
    {kPreexcitation,
     {All({Preexcited(119), In({kI}, &L::RPeakTime, 60)})},
     {All({Preexcited(120), In({kI}, &L::RPeakTime, 60)}),
      All({Preexcited(119), In({kI, kV4, kV5, kV6}, &L::RPeakTime, 59)}),
      All({Preexcited(119), Qrs(119, false), In({kI}, &L::RPeakTime, 60)}),
      All({PR(119), Qrs(120, false), In({kI}, &L::RPeakTime, 60)})}},
    // Wide, with neither bundle branch pattern.
    {kWideQRS, {All({Qrs(120, false), In({kV1}, &L::RAmplitude, 1200)})}, {Qrs(119, false)}},
    // Fridericia decides over Bazett; Bazett stands in when Fridericia is missing.
    {kProlongedQTc,
     {QTc('M', 450), QTc('F', 460), QTc('M', 0, 450)},
     {QTc('M', 449), QTc('F', 459), QTc('U', 459), QTc('M', 440, 480)}},
    {kLowVoltageLimb,
     {Voltage(kLimb, 499)},
     {Voltage(kLimb, 500), Voltage(kChest, 999), Voltage({kI, kII, kIII, kAVR, kAVL}, 400)}},
    {kLowVoltagePrecordial, {Voltage(kChest, 999)}, {Voltage(kChest, 1000), Voltage(kLimb, 499)}},
    // Voltage alone is no hypertrophy under 35 years; unknown age and sex take the
    // limits for adults and for men.
    {kLeftVentricularHypertrophy,
     {Sokolow(1500, 2000), Cornell('M', 2000, 801), Cornell('F', 1500, 501),
      All({Cornell('U', 2000, 801), Set(&F::AgeYears, -1)})},
     {Sokolow(1499, 2000), Cornell('M', 2000, 800), Cornell('F', 1500, 500),
      All({Sokolow(1500, 2000), Set(&F::AgeYears, 34)})}},
    {kSTElevationInferior, {J({kII, kIII}, 100)}, {J({kII, kIII}, 99), J({kIII}, 300)}},
    {kSTElevationLateral, {J({kI, kAVL}, 100)}, {}},
    {kSTElevationAnterior,
     {J({kV2, kV3}, 200), J({kV2, kV3}, 250, 'M', 39), J({kV2, kV3}, 150, 'F'), J({kV1, kV4}, 100),
      J({kV2, kV3}, 200, 'U', -1)},
     {J({kV2, kV3}, 199), J({kV2, kV3}, 249, 'M', 39), J({kV2, kV3}, 149, 'F'),
      J({kV2, kV3}, 199, 'U', -1)}},
    // Horizontal or downsloping at J+80 (J+60 above 100/min); secondary to a wide QRS
    // it is not stated, nor a J-point depression that slopes up.
    {kSTDepressionLateral,
     {ST({kV5, kV6}, -50), ST({kV5, kV6}, -90, 40), All({ST({kV5, kV6}, -80, 40), Rate(110)})},
     {ST({kV5, kV6}, -49), ST({kV5, kV6}, -100, 0, 120), ST({kV5, kV6}, -100, 60),
      ST({kV5, kV6}, -80, 40)}},
    {kSTDepressionInferior, {ST({kII, kAVF}, -50)}, {}},
    {kSTDepressionAnterior, {ST({kV2, kV3}, -50)}, {}},
    {kTWaveInversion, {TNegative(100)}, {TNegative(99), TNegative(300, 120)}},
    // Flat (both parts below 0.1 mV) or low (below a twentieth of an R of 1.0 mV or more).
    {kNonspecificSTT,
     {In({kV5, kV6}, &L::TAmplitudePlus, 99),
      All({In({kV5, kV6}, &L::RAmplitude, 2001), In({kV5, kV6}, &L::TAmplitudePlus, 100)})},
     {In({kV5, kV6}, &L::TAmplitudePlus, 100),
      All({In({kV5, kV6}, &L::RAmplitude, 2000), In({kV5, kV6}, &L::TAmplitudePlus, 100)}),
      All({In({kAVL, kAVF}, &L::RAmplitude, 499), In({kAVL, kAVF}, &L::TAmplitudePlus, 0)})}},
    // J elevated into a rising ST and an upright T; falling, it stays ST elevation.
    {kEarlyRepolarisation,
     {All({J({kII, kIII}, 100), In({kII, kIII}, &L::STJ80, 100)})},
     {All({J({kII, kIII}, 100), In({kII, kIII}, &L::STJ80, 99)}),
      All({J({kII, kIII}, 100), In({kII, kIII}, &L::STJ80, 150), TNegative(200)})}},
    // ST elevation with ST depression in two reciprocal leads.
    {kInjuryInferior,
     {All({J({kII, kIII}, 100), ST({kI, kAVL}, -50)})},
     {All({J({kII, kIII}, 100), ST({kI}, -50)})}},
    {kInjuryAnterior, {All({J({kV1, kV4}, 100), ST({kII, kAVF}, -50)})}, {}},
    {kInjuryLateral, {All({J({kI, kAVL}, 100), ST({kII, kIII}, -50)})}, {}},
    // ST depression in V1-V3 under an R at least as tall as the S in V1, 40 ms long.
    {kPosteriorInvolvement,
     {All({ST({kV1, kV2}, -50), In({kV1}, &L::RAmplitude, 1000), In({kV1}, &L::RDuration, 40)})},
     {ST({kV1, kV2}, -50),
      All({ST({kV1, kV2}, -50), In({kV1}, &L::RAmplitude, 1000), In({kV1}, &L::RDuration, 39)})}},
    {kShortQTc, {QTc('M', 320), QTc('M', 0, 320)}, {QTc('M', 321), QTc('M', 321, 300)}},
    {kLVHWithRepolarisation,
     {All({Sokolow(1500, 2000), ST({kV5, kV6}, -50)})},
     {All({Sokolow(1500, 2000), ST({kV6}, -50)}),
      All({Cornell('M', 2000, 800), ST({kV5, kV6}, -50)})}},
    {kRightVentricularHypertrophy,
     {All({Axis(91), In({kV1}, &L::RAmplitude, 700)}),
      All({Axis(91), In({kV1}, &L::RAmplitude, 500), In({kV1}, &L::SAmplitude, -499)})},
     {All({Axis(90), In({kV1}, &L::RAmplitude, 700)}),
      All({Axis(91), In({kV1}, &L::RAmplitude, 699)}),
      All({Axis(91), In({kV1}, &L::RAmplitude, 700), Set(&F::AgeYears, 15)})}},
    {kLeftAtrialEnlargement,
     {Set(&F::PDuration, 121),
      All({In({kV1}, &L::PTerminalNegative, -100), In({kV1}, &L::PTerminalNegativeDuration, 40)})},
     {Set(&F::PDuration, 120),
      All({In({kV1}, &L::PTerminalNegative, -99), In({kV1}, &L::PTerminalNegativeDuration, 40)}),
      All({In({kV1}, &L::PTerminalNegative, -100), In({kV1}, &L::PTerminalNegativeDuration, 39)})}},
    {kRightAtrialEnlargement,
     {In({kII}, &L::PAmplitudePlus, 251), In({kV1}, &L::PAmplitudePlus, 151)},
     {In({kII}, &L::PAmplitudePlus, 250), In({kV1}, &L::PAmplitudePlus, 150)}},
    {kQWavesInferior,
     {QWave({kII, kIII}, 30, 100)},
     {QWave({kII, kIII}, 29, 100), QWave({kII, kIII}, 30, 99)}},
    {kQWavesLateral, {QWave({kAVL, kV6}, 30, 100)}, {}},
    {kQWavesAnterior,
     {QWave({kV2, kV3}, 21, 50), In({kV2, kV3}, &L::RAmplitude, 0)},  // and QS
     {QWave({kV2, kV3}, 20, 50)}},
    // Sinus bradycardia from 50/min is a normal variant.
    {kNormalECG, {[](F&) {}, Irregular(0.2), Rate(50)}, {Rate(49)}},
    {kBorderlineECG, {Rate(49)}, {}},
    {kAbnormalECG, {NoP(0.3, 20), All({PR(240), Set(&F::QTcFridericia, 480)})}, {}},
};

bool Holds(const ktx::engine::Statements& s, uint16_t c) {
  const auto in = [c](const Codes& codes) { return std::count(codes.begin(), codes.end(), c); };
  return in(s.Rhythm) + in(s.Morphology) > 0;
}

// A statement made stands in the list of its catalogue group.
TEST(Interpret, MakesEachStatementOnlyPastItsThreshold) {
  for (const Criterion& c : kCriteria) {
    const ktx::engine::StatementEntry* entry = ktx::engine::FindStatement(c.Code);
    ASSERT_NE(entry, nullptr) << c.Code;
    for (const bool stated : {true, false}) {
      const std::vector<Change>& changes = stated ? c.Stated : c.NotStated;
      for (size_t i = 0; i < changes.size(); ++i) {
        F f = NormalEcg();
        changes[i](f);
        const ktx::engine::Statements s = ktx::engine::Interpret(f);
        EXPECT_EQ(Holds(s, c.Code), stated)
            << "code " << c.Code << (stated ? ", stated case " : ", not stated case ") << i;
        const bool rhythm = std::count(s.Rhythm.begin(), s.Rhythm.end(), c.Code) > 0;
        if (stated) {
          EXPECT_EQ(rhythm, entry->Group == ktx::engine::StatementGroup::kRhythm) << c.Code;
        }
      }
    }
  }
}

// The catalogue holds the statements above and the driver's 5001-5006, each once, and
// no mnemonic twice.
TEST(Interpret, CatalogueHoldsEachStatementOnce) {
  using ktx::engine::kStatementCatalogue;
  std::multiset<uint16_t> codes, drivers, expected;
  std::set<std::string> mnemonics;
  for (const Criterion& c : kCriteria) expected.insert(c.Code);
  for (size_t i = 0; i < ktx::engine::kStatementCatalogueSize; ++i) {
    const auto& entry = kStatementCatalogue[i];
    const bool driver = entry.Group == ktx::engine::StatementGroup::kDriver;
    (driver ? drivers : codes).insert(entry.Code);
    EXPECT_TRUE(driver || mnemonics.insert(entry.Mnemonic).second) << entry.Mnemonic;
  }
  EXPECT_EQ(codes, expected);
  EXPECT_EQ(drivers, (std::multiset<uint16_t>{5001, 5002, 5003, 5004, 5005, 5006}));
}

// Whole lists: the most important first, the summary last, within the three rhythm and
// seven morphology records of Section 9; a paced rhythm makes no conduction or axis
// statements and names its atria (here P waves that conduct: sinus) beside it.
TEST(Interpret, ListsByImportanceWithinTheSectionLimits) {
  const struct {
    Change Apply;
    Codes Rhythm, Morphology;
  } cases[] = {
      {[](F&) {}, {kSinusRhythm}, {kNormalAxis, kNormalECG}},
      {All({Rate(45), Irregular(0.2), Set(&F::VentricularEctopics, 2),
            Set(&F::SupraventricularEctopics, 3), PR(240), Set(&F::QTcFridericia, 500), Axis(-60),
            J({kII, kIII, kAVF}, 200), ST({kV5, kV6}, -100), QWave({kV2, kV3}, 40, 300),
            TNegative(200)}),
       {kSinusBradycardia, kSinusArrhythmia, kVentricularPremature},
       {kSTElevationInferior, kSTDepressionLateral, kQWavesAnterior, kProlongedQTc,
        kFirstDegreeAVBlock, kTWaveInversion, kAbnormalECG}},
      {All({Set(&F::PacedBeats, 10), Set(&F::QRSDuration, 160), Axis(-70)}),
       {kPacedRhythm, kSinusRhythm},
       {kAbnormalECG}},
      // What a statement explains goes, and the summary follows from what is left: LBBB
      // takes the voltage and the Q waves, pre-excitation the short PR and the broad QRS,
      // the hemiblock the axis, acute injury its reciprocal depression and Q waves, early
      // repolarization its ST elevation (borderline, not abnormal), a couplet the
      // premature complexes; behind a 2:1 block the sinus rate is the atria's.
      {All({Qrs(120, false), Sokolow(1500, 2000), QWave({kII, kIII}, 40, 300)}),
       {kSinusRhythm},
       {kLeftBundleBranchBlock, kNormalAxis, kAbnormalECG}},
      {All({Preexcited(100), Qrs(130, false), In({kI}, &L::RPeakTime, 80)}),
       {kSinusRhythm},
       {kPreexcitation, kNormalAxis, kAbnormalECG}},
      {LeftAnterior(-60, 50), {kSinusRhythm}, {kLeftAnteriorFascicularBlock, kAbnormalECG}},
      {All({J({kII, kIII, kAVF}, 200), ST({kI, kAVL}, -100), QWave({kII, kIII}, 40, 300)}),
       {kSinusRhythm},
       {kInjuryInferior, kNormalAxis, kAbnormalECG}},
      {All({J({kII, kIII}, 100), In({kII, kIII}, &L::STJ80, 150)}),
       {kSinusRhythm},
       {kEarlyRepolarisation, kNormalAxis, kBorderlineECG}},
      {Kinds("NNVVNNNN"), {kSinusRhythm, kVentricularCouplet}, {kNormalAxis, kAbnormalECG}},
      {Atria(750, {160, -1}), {kSinusRhythm}, {kAVBlock2To1, kNormalAxis, kAbnormalECG}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    F f = NormalEcg();
    cases[i].Apply(f);
    const ktx::engine::Statements s = ktx::engine::Interpret(f);
    EXPECT_EQ(s.Rhythm, cases[i].Rhythm) << i;
    EXPECT_EQ(s.Morphology, cases[i].Morphology) << i;
  }
}

}  // namespace
