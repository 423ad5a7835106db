// The hierarchy of the statements: a statement that explains another removes it, what
// is left is ordered by importance and cut to Section 9's records, and the summary
// (normal, borderline, abnormal) follows from all that is left.
#include <algorithm>
#include <vector>

#include "engine/statement_codes.h"
#include "engine/statements/stages.h"

namespace ktx::engine {
namespace {

using namespace code;  // NOLINT(google-build-using-namespace)

constexpr size_t kMaxRhythm = 3;
constexpr size_t kMaxMorphology = 7;

struct Explains {
  std::vector<uint16_t> By, Removed;
};

const std::vector<Explains>& Rules() {
  // The QRS, ST-T and QT of paced beats are the pacemaker's; so is the AV delay.
  static const std::vector<uint16_t> kPacedMorphology = {kNormalAxis,
                                                         kLeftAxisDeviation,
                                                         kRightAxisDeviation,
                                                         kWideQRS,
                                                         kLeftBundleBranchBlock,
                                                         kRightBundleBranchBlock,
                                                         kIncompleteRBBB,
                                                         kIncompleteLBBB,
                                                         kLeftAnteriorFascicularBlock,
                                                         kLeftPosteriorFascicularBlock,
                                                         kLowVoltageLimb,
                                                         kLowVoltagePrecordial,
                                                         kLeftVentricularHypertrophy,
                                                         kLVHWithRepolarisation,
                                                         kRightVentricularHypertrophy,
                                                         kSTElevationAnterior,
                                                         kSTElevationInferior,
                                                         kSTElevationLateral,
                                                         kSTDepressionAnterior,
                                                         kSTDepressionInferior,
                                                         kSTDepressionLateral,
                                                         kInjuryAnterior,
                                                         kInjuryInferior,
                                                         kInjuryLateral,
                                                         kPosteriorInvolvement,
                                                         kTWaveInversion,
                                                         kEarlyRepolarisation,
                                                         kNonspecificSTT,
                                                         kQWavesInferior,
                                                         kQWavesAnterior,
                                                         kQWavesLateral,
                                                         kProlongedQTc,
                                                         kShortQTc,
                                                         kFirstDegreeAVBlock,
                                                         kShortPR,
                                                         kPreexcitation};
  static const std::vector<Explains> kRules = {
      {{kPacedRhythm, kDualPacedRhythm}, kPacedMorphology},
      // Without P waves there is no PR and no P wave to measure.
      {{kAtrialFibrillation, kAtrialFlutter, kAtrialFlutter2To1, kAtrialFlutter3To1,
        kAtrialFlutter4To1},
       {kFirstDegreeAVBlock, kShortPR, kMobitzI, kMobitzII, kAVBlock2To1, kPreexcitation,
        kLeftAtrialEnlargement, kRightAtrialEnlargement}},
      // A retrograde P wave comes early by nature.
      {{kJunctionalRhythm, kAcceleratedJunctional, kSupraventricularTachycardia},
       {kShortPR, kPreexcitation, kLeftAtrialEnlargement, kRightAtrialEnlargement}},
      {{kThirdDegreeAVBlock},
       {kFirstDegreeAVBlock, kShortPR, kMobitzI, kMobitzII, kAVBlock2To1, kPreexcitation,
        kJunctionalRhythm, kAcceleratedJunctional, kIrregularRhythm, kUndeterminedRhythm}},
      {{kAVBlock2To1}, {kFirstDegreeAVBlock, kMobitzI, kMobitzII}},
      {{kMobitzI, kMobitzII}, {kFirstDegreeAVBlock}},
      // Pre-excitation makes the short PR, the broad QRS and its secondary ST-T, and
      // mimics hypertrophy and infarction.
      {{kPreexcitation},
       {kShortPR,
        kWideQRS,
        kLeftBundleBranchBlock,
        kRightBundleBranchBlock,
        kIncompleteRBBB,
        kIncompleteLBBB,
        kLeftAnteriorFascicularBlock,
        kLeftPosteriorFascicularBlock,
        kLeftVentricularHypertrophy,
        kLVHWithRepolarisation,
        kRightVentricularHypertrophy,
        kSTDepressionAnterior,
        kSTDepressionInferior,
        kSTDepressionLateral,
        kPosteriorInvolvement,
        kTWaveInversion,
        kNonspecificSTT,
        kQWavesInferior,
        kQWavesAnterior,
        kQWavesLateral}},
      // LBBB changes the whole ventricular activation: its voltage, ST-T and Q waves are
      // its own, and fascicular blocks are not read through it.
      {{kLeftBundleBranchBlock},
       {kLeftVentricularHypertrophy, kLVHWithRepolarisation, kLeftAnteriorFascicularBlock,
        kLeftPosteriorFascicularBlock, kSTDepressionAnterior, kSTDepressionInferior,
        kSTDepressionLateral, kTWaveInversion, kNonspecificSTT, kQWavesInferior, kQWavesAnterior,
        kQWavesLateral}},
      {{kLVHWithRepolarisation},
       {kLeftVentricularHypertrophy, kSTDepressionLateral, kTWaveInversion, kNonspecificSTT}},
      {{kRightVentricularHypertrophy}, {kRightAxisDeviation, kLeftPosteriorFascicularBlock}},
      {{kLeftAnteriorFascicularBlock}, {kLeftAxisDeviation}},
      {{kLeftPosteriorFascicularBlock}, {kRightAxisDeviation}},
      // Acute injury takes in its ST elevation, its reciprocal depression and the Q waves
      // of its territory (not old then).
      {{kInjuryAnterior}, {kSTElevationAnterior, kSTDepressionInferior, kQWavesAnterior}},
      {{kInjuryInferior}, {kSTElevationInferior, kSTDepressionLateral, kQWavesInferior}},
      {{kInjuryLateral}, {kSTElevationLateral, kSTDepressionInferior, kQWavesLateral}},
      {{kPosteriorInvolvement}, {kSTDepressionAnterior}},
      {{kEarlyRepolarisation}, {kSTElevationInferior, kSTElevationLateral}},
      {{kSTDepressionAnterior, kSTDepressionInferior, kSTDepressionLateral, kTWaveInversion,
        kInjuryAnterior, kInjuryInferior, kInjuryLateral},
       {kNonspecificSTT}},
      {{kVentricularBigeminy, kVentricularTrigeminy, kVentricularCouplet,
        kVentricularTachycardiaRun},
       {kVentricularPremature}},
  };
  return kRules;
}

// Most important first.
constexpr uint16_t kRhythmOrder[] = {kPacedRhythm,
                                     kDualPacedRhythm,
                                     kAtrialPacedRhythm,
                                     kSinusRhythm,
                                     kSinusBradycardia,
                                     kSinusTachycardia,
                                     kSinusArrhythmia,
                                     kEctopicAtrialRhythm,
                                     kWanderingPacemaker,
                                     kAtrialFibrillation,
                                     kAtrialFlutter,
                                     kAtrialFlutter2To1,
                                     kAtrialFlutter3To1,
                                     kAtrialFlutter4To1,
                                     kJunctionalRhythm,
                                     kAcceleratedJunctional,
                                     kSupraventricularTachycardia,
                                     kIrregularRhythm,
                                     kUndeterminedRhythm,
                                     kVentricularTachycardiaRun,
                                     kVentricularBigeminy,
                                     kVentricularTrigeminy,
                                     kVentricularCouplet,
                                     kVentricularPremature,
                                     kSupraventricularPremature};
constexpr uint16_t kMorphologyOrder[] = {kInjuryAnterior,
                                         kInjuryInferior,
                                         kInjuryLateral,
                                         kSTElevationAnterior,
                                         kSTElevationInferior,
                                         kSTElevationLateral,
                                         kPosteriorInvolvement,
                                         kThirdDegreeAVBlock,
                                         kAVBlock2To1,
                                         kMobitzII,
                                         kMobitzI,
                                         kPreexcitation,
                                         kLeftBundleBranchBlock,
                                         kRightBundleBranchBlock,
                                         kWideQRS,
                                         kIncompleteLBBB,
                                         kIncompleteRBBB,
                                         kLeftAnteriorFascicularBlock,
                                         kLeftPosteriorFascicularBlock,
                                         kSTDepressionAnterior,
                                         kSTDepressionInferior,
                                         kSTDepressionLateral,
                                         kQWavesInferior,
                                         kQWavesAnterior,
                                         kQWavesLateral,
                                         kProlongedQTc,
                                         kShortQTc,
                                         kFirstDegreeAVBlock,
                                         kShortPR,
                                         kLVHWithRepolarisation,
                                         kLeftVentricularHypertrophy,
                                         kRightVentricularHypertrophy,
                                         kLeftAtrialEnlargement,
                                         kRightAtrialEnlargement,
                                         kTWaveInversion,
                                         kNonspecificSTT,
                                         kEarlyRepolarisation,
                                         kLowVoltageLimb,
                                         kLowVoltagePrecordial,
                                         kLeftAxisDeviation,
                                         kRightAxisDeviation,
                                         kNormalAxis};

template <size_t n>
std::vector<uint16_t> InOrder(const uint16_t (&order)[n], const StatementList& list) {
  std::vector<uint16_t> codes;
  for (uint16_t code : order)
    if (list.Has(code)) codes.push_back(code);
  return codes;
}

}  // namespace

Statements Arrange(const StatementList& stated) {
  StatementList kept = stated;
  for (const Explains& rule : Rules()) {
    const bool applies = std::any_of(rule.By.begin(), rule.By.end(),
                                     [&](uint16_t code) { return stated.Has(code); });
    if (!applies) continue;
    for (uint16_t code : rule.Removed) kept.Remove(code);
  }
  Statements out;
  out.Rhythm = InOrder(kRhythmOrder, kept);
  if (out.Rhythm.size() > kMaxRhythm) out.Rhythm.resize(kMaxRhythm);
  out.Morphology = InOrder(kMorphologyOrder, kept);
  if (out.Morphology.size() > kMaxMorphology - 1) out.Morphology.resize(kMaxMorphology - 1);
  Weight worst = Weight::kNormal;
  for (const Candidate& c : kept.Items()) worst = std::max(worst, c.Level);
  switch (worst) {
    case Weight::kNormal:
      out.Morphology.push_back(kNormalECG);
      break;
    case Weight::kBorderline:
      out.Morphology.push_back(kBorderlineECG);
      break;
    case Weight::kAbnormal:
      out.Morphology.push_back(kAbnormalECG);
      break;
  }
  return out;
}

}  // namespace ktx::engine
