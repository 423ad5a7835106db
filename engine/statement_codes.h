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
constexpr uint16_t kAtrialFibrillation = 5;  // irregular RR without P waves, suspected
constexpr uint16_t kVentricularPremature = 6;
constexpr uint16_t kSupraventricularPremature = 7;
constexpr uint16_t kPacedRhythm = 8;
constexpr uint16_t kIrregularRhythm = 9;
constexpr uint16_t kUndeterminedRhythm = 10;

// Morphology statements (Section 9 records 4-10).
constexpr uint16_t kNormalAxis = 20;
constexpr uint16_t kLeftAxisDeviation = 21;
constexpr uint16_t kRightAxisDeviation = 22;
constexpr uint16_t kFirstDegreeAVBlock = 30;
constexpr uint16_t kShortPR = 31;
constexpr uint16_t kWideQRS = 40;  // nonspecific intraventricular conduction delay
constexpr uint16_t kLeftBundleBranchBlock = 41;
constexpr uint16_t kRightBundleBranchBlock = 42;
constexpr uint16_t kIncompleteRBBB = 43;
constexpr uint16_t kProlongedQTc = 50;
constexpr uint16_t kLowQRSVoltage = 60;
constexpr uint16_t kLeftVentricularHypertrophy = 61;
constexpr uint16_t kSTElevationAnterior = 70;
constexpr uint16_t kSTElevationInferior = 71;
constexpr uint16_t kSTElevationLateral = 72;
constexpr uint16_t kSTDepressionAnterior = 73;
constexpr uint16_t kSTDepressionInferior = 74;
constexpr uint16_t kSTDepressionLateral = 75;
constexpr uint16_t kTWaveInversion = 80;
constexpr uint16_t kQWavesInferior = 90;
constexpr uint16_t kQWavesAnterior = 91;
constexpr uint16_t kQWavesLateral = 92;
constexpr uint16_t kNormalECG = 100;
constexpr uint16_t kBorderlineECG = 101;
constexpr uint16_t kAbnormalECG = 102;

}  // namespace ktx::engine::code
