// The diagnostic criteria on hand-made findings: each threshold just inside and just
// outside, from a normal adult ECG changed in one respect.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

#include "engine/findings.h"
#include "engine/statement_codes.h"

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
// rsR' in V1 and a broad S in I and V6 when `right`.
const auto Qrs = [](int ms, bool right) {
  if (!right) return Set(&F::QRSDuration, ms);
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
    {kUndeterminedRhythm, {All({NoP(0.10, 10), Set(&F::QRSDuration, 120)}), Set(&F::BeatCount, 0)}, {}},
    {kPacedRhythm, {Set(&F::PacedBeats, 5)}, {Set(&F::PacedBeats, 4)}},
    // Not among paced beats; early beats are premature against a sinus rhythm only.
    {kVentricularPremature,
     {Set(&F::VentricularEctopics, 1)},
     {All({Set(&F::VentricularEctopics, 1), Set(&F::PacedBeats, 10)})}},
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
      All({Qrs(120, false), In({kI, kV6}, &L::SDuration, 60)})}},
    {kRightBundleBranchBlock, {Qrs(120, true)}, {Qrs(119, true)}},
    {kIncompleteRBBB, {Qrs(119, true)}, {Qrs(109, true)}},
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
    // Voltage alone is no hypertrophy under 35 years.
    {kLeftVentricularHypertrophy,
     {Sokolow(1500, 2000), Cornell('M', 2000, 801), Cornell('F', 1500, 501)},
     {Sokolow(1499, 2000), Cornell('M', 2000, 800), Cornell('F', 1500, 500),
      All({Sokolow(1500, 2000), Set(&F::AgeYears, 34)})}},
    {kSTElevationInferior, {J({kII, kIII}, 100)}, {J({kII, kIII}, 99), J({kIII}, 300)}},
    {kSTElevationLateral, {J({kI, kAVL}, 100)}, {}},
    {kSTElevationAnterior,
     {J({kV2, kV3}, 200), J({kV2, kV3}, 250, 'M', 39), J({kV2, kV3}, 150, 'F'), J({kV1, kV4}, 100)},
     {J({kV2, kV3}, 199), J({kV2, kV3}, 249, 'M', 39), J({kV2, kV3}, 149, 'F')}},
    // Horizontal or downsloping at J+80 (J+60 above 100/min); secondary to a wide QRS
    // it is not stated, nor a J-point depression that slopes up.
    {kSTDepressionLateral,
     {ST({kV5, kV6}, -50), ST({kV5, kV6}, -90, 40), All({ST({kV5, kV6}, -80, 40), Rate(110)})},
     {ST({kV5, kV6}, -49), ST({kV5, kV6}, -100, 0, 120), ST({kV5, kV6}, -100, 60),
      ST({kV5, kV6}, -80, 40)}},
    {kSTDepressionInferior, {ST({kII, kAVF}, -50)}, {}},
    {kSTDepressionAnterior, {ST({kV2, kV3}, -50)}, {}},
    {kTWaveInversion, {TNegative(100)}, {TNegative(99), TNegative(300, 120)}},
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

TEST(Interpret, MakesEachStatementOnlyPastItsThreshold) {
  for (const Criterion& c : kCriteria) {
    for (const bool stated : {true, false}) {
      const std::vector<Change>& changes = stated ? c.Stated : c.NotStated;
      for (size_t i = 0; i < changes.size(); ++i) {
        F f = NormalEcg();
        changes[i](f);
        EXPECT_EQ(Holds(ktx::engine::Interpret(f), c.Code), stated)
            << "code " << c.Code << (stated ? ", stated case " : ", not stated case ") << i;
      }
    }
  }
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
