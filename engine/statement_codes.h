// The statement codes the engine writes into Section 9 (three decimal digits each).
// A language module holds the text of code c as its string 1000 + c.
#pragma once

#include <cstdint>

namespace ktx::engine::code {

// Rhythm statements (Section 9 records 1-3).
constexpr uint16_t kSinusRhythm = 1;
constexpr uint16_t kSinusBradycardia = 2;
constexpr uint16_t kSinusTachycardia = 3;
constexpr uint16_t kSinusArrhythmia = 4;
constexpr uint16_t kAtrialFibrillation = 5;
constexpr uint16_t kVentricularPremature = 6;
constexpr uint16_t kSupraventricularPremature = 7;
constexpr uint16_t kPacedRhythm = 8;  // ventricular pacing
constexpr uint16_t kIrregularRhythm = 9;
constexpr uint16_t kUndeterminedRhythm = 10;
constexpr uint16_t kAtrialFlutter = 11;  // variable or unknown conduction
constexpr uint16_t kAtrialFlutter2To1 = 12;
constexpr uint16_t kAtrialFlutter3To1 = 13;
constexpr uint16_t kAtrialFlutter4To1 = 14;
constexpr uint16_t kJunctionalRhythm = 15;
constexpr uint16_t kAcceleratedJunctional = 16;
constexpr uint16_t kSupraventricularTachycardia = 17;
constexpr uint16_t kEctopicAtrialRhythm = 18;
constexpr uint16_t kWanderingPacemaker = 19;
constexpr uint16_t kVentricularBigeminy = 201;
constexpr uint16_t kVentricularTrigeminy = 202;
constexpr uint16_t kVentricularCouplet = 203;
constexpr uint16_t kVentricularTachycardiaRun = 204;
constexpr uint16_t kAtrialPacedRhythm = 205;
constexpr uint16_t kDualPacedRhythm = 206;  // atrial and ventricular pacing

// Morphology statements (Section 9 records 4-10).
constexpr uint16_t kNormalAxis = 20;
constexpr uint16_t kLeftAxisDeviation = 21;
constexpr uint16_t kRightAxisDeviation = 22;
constexpr uint16_t kFirstDegreeAVBlock = 30;
constexpr uint16_t kShortPR = 31;
constexpr uint16_t kMobitzI = 32;
constexpr uint16_t kMobitzII = 33;
constexpr uint16_t kAVBlock2To1 = 34;
constexpr uint16_t kThirdDegreeAVBlock = 35;
constexpr uint16_t kPreexcitation = 36;  // WPW pattern
constexpr uint16_t kWideQRS = 40;        // nonspecific intraventricular conduction delay
constexpr uint16_t kLeftBundleBranchBlock = 41;
constexpr uint16_t kRightBundleBranchBlock = 42;
constexpr uint16_t kIncompleteRBBB = 43;
constexpr uint16_t kIncompleteLBBB = 44;
constexpr uint16_t kLeftAnteriorFascicularBlock = 45;
constexpr uint16_t kLeftPosteriorFascicularBlock = 46;
constexpr uint16_t kProlongedQTc = 50;
constexpr uint16_t kShortQTc = 51;
constexpr uint16_t kLowVoltageLimb = 60;
constexpr uint16_t kLeftVentricularHypertrophy = 61;
constexpr uint16_t kLowVoltagePrecordial = 62;
constexpr uint16_t kLVHWithRepolarisation = 63;
constexpr uint16_t kRightVentricularHypertrophy = 64;
constexpr uint16_t kLeftAtrialEnlargement = 65;
constexpr uint16_t kRightAtrialEnlargement = 66;
constexpr uint16_t kSTElevationAnterior = 70;
constexpr uint16_t kSTElevationInferior = 71;
constexpr uint16_t kSTElevationLateral = 72;
constexpr uint16_t kSTDepressionAnterior = 73;
constexpr uint16_t kSTDepressionInferior = 74;
constexpr uint16_t kSTDepressionLateral = 75;
// ST elevation with reciprocal ST depression: acute injury.
constexpr uint16_t kInjuryAnterior = 76;
constexpr uint16_t kInjuryInferior = 77;
constexpr uint16_t kInjuryLateral = 78;
constexpr uint16_t kPosteriorInvolvement = 79;
constexpr uint16_t kTWaveInversion = 80;
constexpr uint16_t kEarlyRepolarisation = 81;
constexpr uint16_t kNonspecificSTT = 82;
constexpr uint16_t kQWavesInferior = 90;
constexpr uint16_t kQWavesAnterior = 91;
constexpr uint16_t kQWavesLateral = 92;
constexpr uint16_t kNormalECG = 100;
constexpr uint16_t kBorderlineECG = 101;
constexpr uint16_t kAbnormalECG = 102;

}  // namespace ktx::engine::code
