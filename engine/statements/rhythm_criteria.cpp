// Rhythm statements: pacing, the atrial rhythm, and ventricular ectopy.
#include <cmath>
#include <string>

#include "engine/statement_codes.h"
#include "engine/statements/av_conduction.h"
#include "engine/statements/criteria.h"
#include "engine/statements/stages.h"

namespace ktx::engine {
namespace {

namespace c = criteria;
using namespace code;  // NOLINT(google-build-using-namespace)

bool Irregular(const Findings& f) {
  return f.RRIrregularity > c::kIrregularAbove;
}

bool Half(int count, int of) {
  return count > 0 && count * c::kPacedFractionDenominator >= of;
}

void SinusRate(int rate, bool irregular, StatementList& out) {
  if (rate < c::kBradycardiaBelow) {
    // A resting rate from 50 is a normal variant; below it borderline.
    out.Add(kSinusBradycardia,
            rate >= c::kNormalRestingRateFrom ? Weight::kNormal : Weight::kBorderline);
  } else if (rate > c::kTachycardiaAbove) {
    out.Add(kSinusTachycardia, Weight::kBorderline);
  } else if (!irregular) {
    out.Add(kSinusRhythm, Weight::kNormal);
  }
  // A normal variant: it does not make the ECG borderline.
  if (irregular) out.Add(kSinusArrhythmia, Weight::kNormal);
}

void JunctionalByRate(int rate, StatementList& out) {
  if (rate < c::kBradycardiaBelow) {
    out.Add(kJunctionalRhythm, Weight::kAbnormal);
  } else if (rate <= c::kTachycardiaAbove) {
    out.Add(kAcceleratedJunctional, Weight::kAbnormal);
  } else {
    out.Add(kSupraventricularTachycardia, Weight::kAbnormal);
  }
}

bool FlutterWaves(const Findings& f) {
  return f.FibrillatoryWaves && f.AtrialWaveRate >= c::kFlutterFrom &&
         f.AtrialWaveRate <= c::kFlutterUpTo && f.AtrialWaveRegularity >= c::kFlutterRegularFrom;
}

void Flutter(const Findings& f, StatementList& out) {
  static constexpr uint16_t kRatios[] = {kAtrialFlutter2To1, kAtrialFlutter3To1,
                                         kAtrialFlutter4To1};
  if (!Irregular(f) && f.HeartRate > 0) {
    const double ratio = static_cast<double>(f.AtrialWaveRate) / f.HeartRate;
    for (int k = 2; k <= 4; ++k) {
      if (std::fabs(ratio - k) <= k * c::kConductionRatioWithin) {
        out.Add(kRatios[k - 2], Weight::kAbnormal);
        return;
      }
    }
  }
  out.Add(kAtrialFlutter, Weight::kAbnormal);
}

// P waves inverted in II, III and aVF: from the junction before a short PR, else from
// the low atrium.
bool RetrogradeP(const Findings& f) {
  return f.PAxis != kAxisUndefined && f.PAxis >= c::kRetrogradePAxisFrom &&
         f.PAxis <= c::kRetrogradePAxisUpTo;
}

void AtrialRhythm(const Findings& f, bool paced, StatementList& out) {
  const bool irregular = Irregular(f);
  const AVBlock block = ClassifyAVBlock(f);
  // Behind an AV block the ventricles beat slower than the atria: the atria's rate.
  const int atrialRate = block != AVBlock::kNone && f.AtrialRate > 0 ? f.AtrialRate : f.HeartRate;
  if (f.PWavePresent && RetrogradeP(f)) {
    if (f.PRInterval > 0 && f.PRInterval < c::kPRShortBelow) {
      JunctionalByRate(f.HeartRate, out);
    } else {
      out.Add(kEctopicAtrialRhythm, Weight::kBorderline);
    }
  } else if (f.PWavePresent || block != AVBlock::kNone || PWavesConductEveryBeat(f)) {
    SinusRate(atrialRate, irregular && block == AVBlock::kNone, out);
  } else if (f.PWaveShapes >= c::kWanderingShapesFrom && f.HeartRate <= c::kTachycardiaAbove &&
             PWaveBeforeEveryBeat(f)) {
    // P waves before every beat but too unlike to make one reference P wave.
    out.Add(kWanderingPacemaker, Weight::kBorderline);
  } else if (FlutterWaves(f)) {
    Flutter(f, out);
  } else if (f.FibrillatoryWaves || (irregular && f.BeatCount >= c::kMinBeatsForFibrillation)) {
    out.Add(kAtrialFibrillation, Weight::kAbnormal);
  } else if (!paced) {
    // No atrial activity at all, not even P waves that do not conduct: a regular narrow
    // rhythm is junctional. P waves found between the beats that keep no PR leave it
    // undetermined.
    const bool noAtria = f.PWaves.size() < static_cast<size_t>(c::kNoAtrialWavesBelow);
    if (irregular) {
      out.Add(kIrregularRhythm, Weight::kBorderline);
    } else if (noAtria && f.QRSDuration > 0 && f.QRSDuration < c::kQRSCompleteBlockFrom) {
      JunctionalByRate(f.HeartRate, out);
    } else {
      out.Add(kUndeterminedRhythm, Weight::kBorderline);
    }
  }
}

// Beats of another shape in a row, and the bigeminal and trigeminal patterns: the
// beats as a string of N (supraventricular) and V, U breaking it.
void VentricularEctopy(const Findings& f, StatementList& out) {
  std::string kinds;
  for (const BeatFindings& beat : f.Beats) kinds += beat.Kind == 'S' ? 'N' : beat.Kind;
  size_t longestFast = 0;
  bool couplet = false;
  for (size_t i = 0; i < kinds.size();) {
    if (kinds[i] != 'V') {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < kinds.size() && kinds[j] == 'V') ++j;
    const size_t run = j - i;
    if (run == 2) couplet = true;
    if (run >= static_cast<size_t>(c::kTachycardiaRunFrom)) {
      const int span = f.Beats[j - 1].QrsOnset - f.Beats[i].QrsOnset;
      const double rate = 60000.0 * static_cast<double>(run - 1) / std::max(1, span);
      if (rate >= c::kTachycardiaAbove) longestFast = std::max(longestFast, run);
    }
    i = j;
  }
  std::string bigeminy, trigeminy;
  for (int k = 0; k < c::kPatternCycles; ++k) {
    bigeminy += "NV";
    trigeminy += "NNV";
  }
  if (longestFast > 0) out.Add(kVentricularTachycardiaRun, Weight::kAbnormal);
  if (kinds.find(bigeminy) != std::string::npos) out.Add(kVentricularBigeminy, Weight::kAbnormal);
  if (kinds.find(trigeminy) != std::string::npos) out.Add(kVentricularTrigeminy, Weight::kAbnormal);
  if (couplet) out.Add(kVentricularCouplet, Weight::kAbnormal);
  if (f.VentricularEctopics > 0) out.Add(kVentricularPremature, Weight::kBorderline);
}

bool Sinus(const StatementList& out) {
  for (uint16_t code : {kSinusRhythm, kSinusBradycardia, kSinusTachycardia, kSinusArrhythmia})
    if (out.Has(code)) return true;
  return false;
}

}  // namespace

void RhythmCriteria(const Findings& f, StatementList& out) {
  if (f.BeatCount <= 0) {
    out.Add(kUndeterminedRhythm, Weight::kBorderline);
    return;
  }
  const bool ventricles = Half(f.PacedBeats, f.BeatCount);
  const bool atria = Half(f.AtrialPacedBeats, f.BeatCount);
  if (ventricles && atria) {
    out.Add(kDualPacedRhythm, Weight::kAbnormal);
  } else if (ventricles) {
    out.Add(kPacedRhythm, Weight::kAbnormal);
  } else if (atria) {
    out.Add(kAtrialPacedRhythm, Weight::kAbnormal);
  }
  // Paced atria have no rhythm of their own to name; beside paced ventricles the atria
  // are named (sinus, fibrillation).
  if (!atria) AtrialRhythm(f, ventricles, out);
  // Beats of another shape in a paced rhythm are as often its own conducted or fusion
  // beats; early beats are premature only against a sinus rhythm.
  if (!ventricles) VentricularEctopy(f, out);
  if (f.SupraventricularEctopics > 0 && Sinus(out)) {
    out.Add(kSupraventricularPremature, Weight::kBorderline);
  }
}

}  // namespace ktx::engine
