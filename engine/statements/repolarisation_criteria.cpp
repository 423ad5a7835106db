// Repolarisation statements: ST elevation (acute injury, early repolarisation), ST
// depression, posterior involvement, T waves, Q waves of old infarction, QT.
#include "engine/statement_codes.h"
#include "engine/statements/criteria.h"
#include "engine/statements/lead_tests.h"
#include "engine/statements/stages.h"

namespace ktx::engine {
namespace {

namespace c = criteria;
using namespace code;   // NOLINT(google-build-using-namespace)
using namespace leads;  // NOLINT(google-build-using-namespace)

// A statement made from the same test in two leads of a group.
struct LeadGroup {
  uint16_t Code;
  Group Members;
};

// A territory whose ST elevation, with ST depression in the reciprocal leads, is
// acute injury.
struct Territory {
  uint16_t Elevation, Injury;
  Group Members, Reciprocal;
};

constexpr Territory kTerritories[] = {
    {kSTElevationAnterior, kInjuryAnterior, kAnterior, kInferior},
    {kSTElevationInferior, kInjuryInferior, kInferior, kHighLateral},
    {kSTElevationLateral, kInjuryLateral, kLateral, kInferior},
};
// Leads where T is normally upright (V1, V2, III, aVL and aVR may carry a negative T).
constexpr Group kUprightT = {kI, kII, kAVF, kV3, kV4, kV5, kV6};
// Early repolarisation is judged in the inferior and lateral leads, V1-V3 left out.
constexpr Group kEarlyInferior = kInferior;
constexpr Group kEarlyLateral = {kI, kAVL, kV4, kV5, kV6};
// The groups of the non-specific ST-T statement.
constexpr Group kSTTGroups[] = {{kI, kAVL, kV5, kV6}, {kII, kAVF}, {kV3, kV4}};

int STElevationLimit(const Findings& f, uint16_t code, bool leftBundle) {
  const bool anterior = code == kV1 || code == kV2 || code == kV3 || code == kV4;
  if (leftBundle && anterior) return c::kSTElevationLBBBFrom;
  if (code != kV2 && code != kV3) return c::kSTElevationFrom;
  if (f.Sex == 'F') return c::kSTElevationV2V3WomenFrom;
  const bool young = f.AgeYears >= 0 && f.AgeYears < c::kYoungMenBelowAge;
  return young ? c::kSTElevationV2V3YoungMenFrom : c::kSTElevationV2V3MenFrom;
}

// Depressed where the ST segment is judged (J+60 at fast rates, else J+80) and
// horizontal or downsloping from the J point: an upsloping J-point depression is the
// end of the QRS, not ischaemia.
bool STDepressed(const Findings& f, const LeadFindings& lead) {
  const int st = f.HeartRate > c::kTachycardiaAbove ? lead.STJ60 : lead.STJ80;
  return -st >= c::kSTDepressionFrom && st - lead.JPointAmplitude <= c::kSTFlatRiseUpTo;
}

bool PathologicalQ(const LeadFindings& lead) {
  if (IsQS(lead)) return true;
  if (lead.QAmplitude >= 0) return false;
  if (lead.LeadCode == kV2 || lead.LeadCode == kV3) return lead.QDuration > c::kQV2V3Above;
  return lead.QDuration >= c::kQDurationFrom && -lead.QAmplitude >= c::kQDepthFrom;
}

void STElevation(const Findings& f, StatementList& out) {
  const bool leftBundle = out.Has(kLeftBundleBranchBlock);
  const auto depressed = [&f](const LeadFindings& l) { return STDepressed(f, l); };
  for (const Territory& t : kTerritories) {
    const int elevated = Count(f, t.Members, [&](const LeadFindings& lead) {
      return lead.JPointAmplitude >= STElevationLimit(f, lead.LeadCode, leftBundle);
    });
    if (elevated < c::kLeadsInGroup) continue;
    out.Add(t.Elevation, Weight::kAbnormal);
    if (Count(f, t.Reciprocal, depressed) >= c::kLeadsInGroup) out.Add(t.Injury, Weight::kAbnormal);
  }
  // Early repolarisation: J elevated into a rising ST segment and an upright T, in the
  // inferior or lateral leads, without reciprocal depression.
  if (f.QRSDuration >= c::kQRSCompleteBlockFrom) return;
  const auto early = [](const LeadFindings& l) {
    return l.JPointAmplitude >= c::kSTElevationFrom && l.STJ80 >= l.JPointAmplitude &&
           l.TAmplitudePlus > -l.TAmplitudeMinus;
  };
  const bool injury =
      out.Has(kInjuryAnterior) || out.Has(kInjuryInferior) || out.Has(kInjuryLateral);
  if (!injury && (Count(f, kEarlyInferior, early) >= c::kLeadsInGroup ||
                  Count(f, kEarlyLateral, early) >= c::kLeadsInGroup)) {
    out.Add(kEarlyRepolarisation, Weight::kBorderline);
  }
}

// Judged on a narrow QRS only: a broad one carries its own, secondary ST-T changes.
void STDepression(const Findings& f, StatementList& out) {
  static constexpr LeadGroup kGroups[] = {{kSTDepressionAnterior, kAnterior},
                                          {kSTDepressionInferior, kInferior},
                                          {kSTDepressionLateral, kLateral}};
  const auto depressed = [&f](const LeadFindings& l) { return STDepressed(f, l); };
  for (const LeadGroup& group : kGroups) {
    if (Count(f, group.Members, depressed) >= c::kLeadsInGroup) {
      out.Add(group.Code, Weight::kAbnormal);
    }
  }
  // The posterior wall seen from the front: ST depression in V1-V3 under a tall R in V1,
  // where the R wave is normally small (in V2 a dominant R is a common normal transition).
  const LeadFindings* v1 = Find(f, kV1);
  const bool tallR = v1 && v1->RAmplitude > 0 && v1->RAmplitude >= DeepestS(*v1) &&
                     v1->RDuration >= c::kPosteriorRFrom;
  if (tallR && Count(f, {kV1, kV2, kV3}, depressed) >= c::kLeadsInGroup) {
    out.Add(kPosteriorInvolvement, Weight::kAbnormal);
  }
}

void TWaves(const Findings& f, StatementList& out) {
  const auto inverted = [](const LeadFindings& l) { return TNegative(l, c::kTInversionFrom); };
  if (Count(f, kUprightT, inverted) >= c::kLeadsInGroup) {
    out.Add(kTWaveInversion, Weight::kBorderline);
  }
  // Flat or low T waves, or ST depression sloping up, where the R wave is large enough
  // to expect an upright T.
  const auto nonspecific = [&f](const LeadFindings& l) {
    const bool judged =
        (l.LeadCode != kAVL && l.LeadCode != kAVF) || l.RAmplitude >= c::kTLeadRFrom;
    const bool flat = l.TAmplitudePlus < c::kFlatTBelow && -l.TAmplitudeMinus < c::kFlatTBelow;
    const bool low = l.TAmplitudePlus > 0 && l.RAmplitude >= c::kLowTRFrom &&
                     l.TAmplitudePlus * c::kLowTRatio < l.RAmplitude;
    const int st = f.HeartRate > c::kTachycardiaAbove ? l.STJ60 : l.STJ80;
    return judged && (flat || low || -st >= c::kSTDepressionFrom);
  };
  for (const Group& group : kSTTGroups) {
    if (Count(f, group, nonspecific) >= c::kLeadsInGroup) {
      out.Add(kNonspecificSTT, Weight::kBorderline);
      return;
    }
  }
}

void QWaves(const Findings& f, StatementList& out) {
  // V1 is left out: a QS there is normal.
  static constexpr LeadGroup kGroups[] = {
      {kQWavesInferior, kInferior}, {kQWavesAnterior, {kV2, kV3, kV4}}, {kQWavesLateral, kLateral}};
  for (const LeadGroup& group : kGroups) {
    if (Count(f, group.Members, PathologicalQ) >= c::kLeadsInGroup) {
      out.Add(group.Code, Weight::kAbnormal);
    }
  }
}

void QT(const Findings& f, StatementList& out) {
  const int qtc = f.QTcFridericia > 0 ? f.QTcFridericia : f.QTcBazett;
  if (qtc <= 0) return;
  const int limit = f.Sex == 'M' ? c::kQTcLongMenFrom : c::kQTcLongWomenFrom;
  if (qtc >= limit) out.Add(kProlongedQTc, Weight::kAbnormal);
  if (qtc <= c::kQTcShortUpTo) out.Add(kShortQTc, Weight::kAbnormal);
}

}  // namespace

void RepolarisationCriteria(const Findings& f, StatementList& out) {
  STElevation(f, out);
  if (f.QRSDuration < c::kQRSCompleteBlockFrom) {
    STDepression(f, out);
    TWaves(f, out);
  }
  QWaves(f, out);
  QT(f, out);
}

}  // namespace ktx::engine
