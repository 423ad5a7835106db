// Chamber statements: ventricular hypertrophy, atrial enlargement, low voltage.
#include <algorithm>

#include "engine/statement_codes.h"
#include "engine/statements/criteria.h"
#include "engine/statements/lead_tests.h"
#include "engine/statements/stages.h"

namespace ktx::engine {
namespace {

namespace c = criteria;
using namespace code;   // NOLINT(google-build-using-namespace)
using namespace leads;  // NOLINT(google-build-using-namespace)

bool LeftVentricularVoltage(const Findings& f) {
  // Voltage alone is no hypertrophy in the young, whose healthy hearts often reach it.
  if (f.AgeYears >= 0 && f.AgeYears < c::kVoltageLVHFromAge) return false;
  const LeadFindings *v1 = Find(f, kV1), *v3 = Find(f, kV3), *avl = Find(f, kAVL);
  const LeadFindings *v5 = Find(f, kV5), *v6 = Find(f, kV6);
  bool lvh = false;
  if (v1 && (v5 || v6)) {
    const int r = std::max(v5 ? v5->RAmplitude : 0, v6 ? v6->RAmplitude : 0);
    lvh = -v1->SAmplitude + r >= c::kSokolowLyonFrom;
  }
  if (avl && v3) {
    const int limit = f.Sex == 'F' ? c::kCornellWomenAbove : c::kCornellMenAbove;
    lvh = lvh || avl->RAmplitude - v3->SAmplitude > limit;
  }
  return lvh;
}

// ST depressed at J+80 (J+60 at fast rates), horizontal or downsloping, or the T wave
// inverted: the repolarisation of a ventricle under strain.
bool RepolarisationAbnormal(const Findings& f, const LeadFindings& lead) {
  const int st = f.HeartRate > c::kTachycardiaAbove ? lead.STJ60 : lead.STJ80;
  const bool depressed =
      -st >= c::kSTDepressionFrom && st - lead.JPointAmplitude <= c::kSTFlatRiseUpTo;
  return depressed || TNegative(lead, c::kTInversionFrom);
}

void Ventricles(const Findings& f, StatementList& out) {
  const bool narrow = f.QRSDuration < c::kQRSCompleteBlockFrom;
  if (LeftVentricularVoltage(f)) {
    const bool strain = narrow && Count(f, kLateral, [&f](const LeadFindings& l) {
                                    return RepolarisationAbnormal(f, l);
                                  }) >= c::kLeadsInGroup;
    out.Add(strain ? kLVHWithRepolarisation : kLeftVentricularHypertrophy, Weight::kAbnormal);
  }
  const LeadFindings *v1 = Find(f, kV1), *v5 = Find(f, kV5), *v6 = Find(f, kV6);
  const bool adult = f.AgeYears < 0 || f.AgeYears >= c::kAdultFromAge;
  if (!narrow || !adult || !v1 || f.QRSAxis == kAxisUndefined || f.QRSAxis <= c::kAxisRightAbove)
    return;
  const int rv1 = v1->RAmplitude, sv1 = DeepestS(*v1);
  const int sv56 = std::max(v5 ? DeepestS(*v5) : 0, v6 ? DeepestS(*v6) : 0);
  const bool rightVoltage = rv1 >= c::kRVHRV1From || (rv1 >= c::kRVHDominantRV1From && rv1 > sv1) ||
                            (sv56 >= c::kRVHSV5V6From && v6 && v6->RAmplitude < DeepestS(*v6));
  if (rightVoltage) out.Add(kRightVentricularHypertrophy, Weight::kAbnormal);
}

void Atria(const Findings& f, StatementList& out) {
  if (!f.PWavePresent) return;
  const LeadFindings* v1 = Find(f, kV1);
  const bool terminalForce = v1 && -v1->PTerminalNegative >= c::kLAETerminalDepthFrom &&
                             v1->PTerminalNegativeDuration >= c::kLAETerminalDurationFrom;
  if (f.PDuration > c::kLAEPDurationAbove || terminalForce) {
    out.Add(kLeftAtrialEnlargement, Weight::kBorderline);
  }
  const bool tallLimb = Count(f, kInferior, [](const LeadFindings& l) {
                          return l.PAmplitudePlus > c::kRAELimbAbove;
                        }) > 0;
  const bool tallV1V2 = Count(f, {kV1, kV2}, [](const LeadFindings& l) {
                          return l.PAmplitudePlus > c::kRAEV1V2Above;
                        }) > 0;
  if (tallLimb || tallV1V2) out.Add(kRightAtrialEnlargement, Weight::kBorderline);
}

void LowVoltage(const Findings& f, StatementList& out) {
  const auto low = [&f](const Group& group, int below) {
    const int present = CountPresent(f, group);
    const int small =
        Count(f, group, [below](const LeadFindings& lead) { return PeakToPeak(lead) < below; });
    return present >= c::kLeadsInGroup && small == present;
  };
  if (low(kLimb, c::kLowVoltageLimbBelow)) out.Add(kLowVoltageLimb, Weight::kBorderline);
  if (low(kPrecordial, c::kLowVoltagePrecordialBelow)) {
    out.Add(kLowVoltagePrecordial, Weight::kBorderline);
  }
}

}  // namespace

void ChamberCriteria(const Findings& f, StatementList& out) {
  Ventricles(f, out);
  Atria(f, out);
  LowVoltage(f, out);
}

}  // namespace ktx::engine
