// Conduction statements: AV block beyond the first degree, pre-excitation, bundle
// branch and fascicular blocks, PR, QRS axis.
#include "engine/statement_codes.h"
#include "engine/statements/av_conduction.h"
#include "engine/statements/criteria.h"
#include "engine/statements/lead_tests.h"
#include "engine/statements/stages.h"

namespace ktx::engine {
namespace {

namespace c = criteria;
using namespace code;   // NOLINT(google-build-using-namespace)
using namespace leads;  // NOLINT(google-build-using-namespace)

constexpr Group kIAndV6 = {kI, kV6};
constexpr Group kV1AndV2 = {kV1, kV2};
constexpr Group kDeltaLeads = {kI, kII, kAVL, kV4, kV5, kV6};

// The S wave of a right bundle branch block in I and V6: longer than the R or than
// 40 ms.
bool BroadS(const LeadFindings& lead) {
  return lead.SAmplitude < 0 &&
         (lead.SDuration > lead.RDuration || lead.SDuration > c::kRBBBBroadSAbove);
}

// The terminal R' of rsr', rsR' or rSR': taller or broader than the first R (Minnesota
// 7-2 and 7-3 ask R' > R, AHA 2009 Part III finds it usually wider); a smaller, briefer
// positive end is the J point riding high, not the right ventricle's late activation.
bool TerminalRPrime(const LeadFindings& l) {
  return l.RdashAmplitude > 0 && (l.RdashAmplitude > l.RAmplitude || l.RdashDuration > l.RDuration);
}

bool RightBundlePattern(const Findings& f) {
  // rsr', rsR' or rSR' in V1 or V2, or a dominant R in V1.
  const LeadFindings* v1 = Find(f, kV1);
  const bool rPrime = Count(f, kV1AndV2, TerminalRPrime) > 0;
  if (!rPrime && !(v1 && MainlyPositive(*v1))) return false;
  const int broadS = Count(f, kIAndV6, BroadS);
  return broadS == CountPresent(f, kIAndV6) && broadS > 0;
}

bool NoSeptalQ(const Findings& f) {
  return Count(f, {kI, kV5, kV6},
               [](const LeadFindings& l) { return -l.QAmplitude >= c::kSeptalQFrom; }) == 0;
}

bool LeftBundlePattern(const Findings& f) {
  // V1 a QS or rS: mainly negative, whatever its negative wave is called.
  const LeadFindings* v1 = Find(f, kV1);
  if (!v1 || MainlyPositive(*v1)) return false;
  // Broad, mainly positive I and V6 without the broad S of a right bundle branch
  // block, and no septal q in I, V5 and V6.
  const int upright = Count(
      f, kIAndV6, [](const LeadFindings& lead) { return MainlyPositive(lead) && !BroadS(lead); });
  // The left ventricle activated late: its R wave peaks late in V5 and V6.
  const int late = Count(
      f, {kV5, kV6}, [](const LeadFindings& lead) { return lead.RPeakTime > c::kLateRPeakAbove; });
  return upright == CountPresent(f, kIAndV6) && upright > 0 && NoSeptalQ(f) &&
         late == CountPresent(f, {kV5, kV6});
}

// The LVH voltage of Sokolow-Lyon or Cornell, whatever the age (a pattern here).
bool LeftVoltage(const Findings& f) {
  const LeadFindings *v1 = Find(f, kV1), *v3 = Find(f, kV3), *avl = Find(f, kAVL);
  const LeadFindings *v5 = Find(f, kV5), *v6 = Find(f, kV6);
  const int r56 = std::max(v5 ? v5->RAmplitude : 0, v6 ? v6->RAmplitude : 0);
  const int cornell = f.Sex == 'F' ? c::kCornellWomenAbove : c::kCornellMenAbove;
  return (v1 && -v1->SAmplitude + r56 >= c::kSokolowLyonFrom) ||
         (avl && v3 && avl->RAmplitude - v3->SAmplitude > cornell);
}

void BundleBranches(const Findings& f, StatementList& out) {
  if (f.QRSDuration >= c::kQRSCompleteBlockFrom) {
    if (LeftBundlePattern(f)) {
      out.Add(kLeftBundleBranchBlock, Weight::kAbnormal);
    } else if (RightBundlePattern(f)) {
      out.Add(kRightBundleBranchBlock, Weight::kAbnormal);
    } else {
      out.Add(kWideQRS, Weight::kAbnormal);
    }
  } else if (f.QRSDuration >= c::kQRSIncompleteFrom) {
    if (RightBundlePattern(f)) {
      out.Add(kIncompleteRBBB, Weight::kBorderline);
    } else if (NoSeptalQ(f) && LeftVoltage(f) &&
               Count(f, {kV4, kV5, kV6},
                     [](const LeadFindings& l) { return l.RPeakTime > c::kLateRPeakAbove; }) > 0) {
      out.Add(kIncompleteLBBB, Weight::kBorderline);
    }
  }
}

void Fascicles(const Findings& f, StatementList& out) {
  if (f.QRSAxis == kAxisUndefined) return;
  // Alone, or beside a right bundle branch block (bifascicular block).
  const bool narrow = f.QRSDuration < c::kQRSCompleteBlockFrom || out.Has(kRightBundleBranchBlock);
  if (!narrow) return;
  const LeadFindings* avl = Find(f, kAVL);
  if (f.QRSAxis >= c::kLAFBAxisFrom && f.QRSAxis <= c::kLAFBAxisUpTo && avl && HasQ(*avl) &&
      MainlyPositive(*avl) && avl->RPeakTime >= c::kLAFBRPeakTimeFrom) {
    out.Add(kLeftAnteriorFascicularBlock, Weight::kAbnormal);
  }
  const bool adult = f.AgeYears < 0 || f.AgeYears >= c::kAdultFromAge;
  const auto rS = [](const LeadFindings& l) {
    return !HasQ(l) && l.RAmplitude > 0 && !MainlyPositive(l);
  };
  const auto qR = [](const LeadFindings& l) { return HasQ(l) && MainlyPositive(l); };
  if (adult && f.QRSAxis >= c::kLPFBAxisFrom && f.QRSAxis <= c::kLPFBAxisUpTo &&
      Count(f, {kI, kAVL}, rS) == 2 && Count(f, {kIII, kAVF}, qR) == 2) {
    out.Add(kLeftPosteriorFascicularBlock, Weight::kAbnormal);
  }
}

void Atrioventricular(const Findings& f, StatementList& out) {
  switch (ClassifyAVBlock(f)) {
    case AVBlock::kComplete:
      out.Add(kThirdDegreeAVBlock, Weight::kAbnormal);
      break;
    case AVBlock::kTwoToOne:
      out.Add(kAVBlock2To1, Weight::kAbnormal);
      break;
    case AVBlock::kMobitzII:
      out.Add(kMobitzII, Weight::kAbnormal);
      break;
    case AVBlock::kMobitzI:
      out.Add(kMobitzI, Weight::kAbnormal);
      break;
    case AVBlock::kNone:
      break;
  }
  if (!f.PWavePresent || f.PRInterval <= 0) return;
  if (f.PRInterval > c::kPRLongAbove) {
    out.Add(kFirstDegreeAVBlock, Weight::kBorderline);
  } else if (f.PRInterval < c::kPRShortBelow) {
    out.Add(kShortPR, Weight::kBorderline);
    // A delta wave: the R wave late after a QRS onset that came early.
    const bool delta = Count(f, kDeltaLeads, [](const LeadFindings& l) {
                         return l.RPeakTime >= c::kDeltaRPeakTimeFrom;
                       }) > 0;
    // The short PR found beat by beat, not only on the reference beat, where the start
    // of a slurred QRS or noise may pass for a P wave.
    if (f.QRSDuration >= c::kQRSCompleteBlockFrom && delta && PWaveBeforeEveryBeat(f)) {
      out.Add(kPreexcitation, Weight::kAbnormal);
    }
  }
}

void Axis(const Findings& f, StatementList& out) {
  if (f.QRSAxis == kAxisUndefined) return;
  if (f.QRSAxis < c::kAxisLeftBelow) {
    out.Add(kLeftAxisDeviation, Weight::kBorderline);
  } else if (f.QRSAxis > c::kAxisRightAbove) {
    out.Add(kRightAxisDeviation, Weight::kBorderline);
  } else {
    out.Add(kNormalAxis, Weight::kNormal);
  }
}

}  // namespace

void ConductionCriteria(const Findings& f, StatementList& out) {
  Atrioventricular(f, out);
  BundleBranches(f, out);
  Fascicles(f, out);
  Axis(f, out);
}

}  // namespace ktx::engine
