// The diagnostic criteria: the findings of one recording to its Section 9 statement
// codes, most important first. Thresholds and their sources are in criteria.h.
#include <algorithm>
#include <array>
#include <initializer_list>

#include "engine/findings.h"
#include "engine/statement_codes.h"
#include "engine/statements/criteria.h"

namespace ktx::engine {
namespace {

namespace c = criteria;

constexpr size_t kMaxRhythm = 3;
constexpr size_t kMaxMorphology = 7;

// SCP-ECG lead codes.
constexpr uint16_t kI = 1, kII = 2, kV1 = 3, kV2 = 4, kV3 = 5, kV4 = 6, kV5 = 7, kV6 = 8;
constexpr uint16_t kIII = 61, kAVR = 62, kAVL = 63, kAVF = 64;

const LeadFindings* FindLead(const Findings& findings, uint16_t code) {
  for (const LeadFindings& lead : findings.Leads) {
    if (lead.LeadCode == code) return &lead;
  }
  return nullptr;
}

int PeakToPeak(const LeadFindings& lead) {
  const int high = std::max({lead.RAmplitude, lead.RdashAmplitude, 0});
  const int low = std::min({lead.QAmplitude, lead.SAmplitude, lead.SdashAmplitude, 0});
  return high - low;
}

// Up to seven lead codes, 0 where the group has fewer.
using Leads = std::array<uint16_t, 7>;

// A statement made from the same test in two leads of a group.
struct LeadGroup {
  uint16_t Code;
  Leads Members;
};

constexpr Leads kAnterior = {kV1, kV2, kV3, kV4};
constexpr Leads kInferior = {kII, kIII, kAVF};
constexpr Leads kLateral = {kI, kAVL, kV5, kV6};
constexpr Leads kLimb = {kI, kII, kIII, kAVR, kAVL, kAVF};
constexpr Leads kPrecordial = {kV1, kV2, kV3, kV4, kV5, kV6};
constexpr Leads kIAndV6 = {kI, kV6};
// Leads where T is normally upright (V1, V2, III, aVL and aVR may carry a negative T).
constexpr Leads kUprightT = {kI, kII, kAVF, kV3, kV4, kV5, kV6};

// Leads of `codes` that are present and satisfy `test`.
template <typename Test>
int CountLeads(const Findings& findings, const Leads& codes, Test test) {
  int count = 0;
  for (uint16_t code : codes) {
    const LeadFindings* lead = code ? FindLead(findings, code) : nullptr;
    if (lead && test(*lead)) ++count;
  }
  return count;
}

int CountPresent(const Findings& findings, const Leads& codes) {
  return CountLeads(findings, codes, [](const LeadFindings&) { return true; });
}

// The positive waves outweigh the negative ones.
bool MainlyPositive(const LeadFindings& lead) {
  const int up = std::max(lead.RAmplitude, lead.RdashAmplitude);
  const int down = -std::min({lead.QAmplitude, lead.SAmplitude, lead.SdashAmplitude});
  return up > down;
}

// The S wave of a right bundle branch block in I and V6: longer than the R or than
// 40 ms.
bool BroadS(const LeadFindings& lead) {
  return lead.SAmplitude < 0 &&
         (lead.SDuration > lead.RDuration || lead.SDuration > c::kRBBBBroadSAbove);
}

bool IsQS(const LeadFindings& lead) {
  return lead.RAmplitude <= 0 && lead.RdashAmplitude <= 0 &&
         std::min(lead.QAmplitude, lead.SAmplitude) < 0;
}

bool PathologicalQ(const LeadFindings& lead) {
  const bool v2v3 = lead.LeadCode == kV2 || lead.LeadCode == kV3;
  if (IsQS(lead)) return true;
  if (lead.QAmplitude >= 0) return false;
  if (v2v3) return lead.QDuration > c::kQV2V3Above;
  return lead.QDuration >= c::kQDurationFrom && -lead.QAmplitude >= c::kQDepthFrom;
}

bool IsWomen(const Findings& findings) {
  return findings.Sex == 'F';
}

int STElevationLimit(const Findings& findings, uint16_t code) {
  if (code != kV2 && code != kV3) return c::kSTElevationFrom;
  if (IsWomen(findings)) return c::kSTElevationV2V3WomenFrom;
  const bool young = findings.AgeYears >= 0 && findings.AgeYears < c::kYoungMenBelowAge;
  return young ? c::kSTElevationV2V3YoungMenFrom : c::kSTElevationV2V3MenFrom;
}

class Interpreter {
 public:
  explicit Interpreter(const Findings& findings) : f_(findings) {}

  Statements Run() {
    Rhythm();
    Morphology();
    Summary();
    if (result_.Rhythm.size() > kMaxRhythm) result_.Rhythm.resize(kMaxRhythm);
    return result_;
  }

 private:
  // How a statement weighs in the summary.
  enum class Weight { kNormal, kBorderline, kAbnormal };

  void AddRhythm(uint16_t code, Weight weight) {
    result_.Rhythm.push_back(code);
    Note(weight);
  }
  void AddMorphology(uint16_t code, Weight weight) {
    morphology_.push_back(code);
    Note(weight);
  }
  void Note(Weight weight) { worst_ = std::max(worst_, weight); }

  void Rhythm() {
    const bool irregular = f_.RRIrregularity > c::kIrregularAbove;
    if (f_.BeatCount <= 0) {
      AddRhythm(code::kUndeterminedRhythm, Weight::kBorderline);
      return;
    }
    paced_ = f_.PacedBeats > 0 && f_.PacedBeats * c::kPacedFractionDenominator >= f_.BeatCount;
    if (paced_) AddRhythm(code::kPacedRhythm, Weight::kAbnormal);
    // The atria: sinus where P waves conduct; fibrillation or flutter where their waves
    // show between the beats or, unpaced, the ventricles answer irregularly.
    if (f_.PWavePresent) {
      SinusRhythm(irregular);
    } else if (f_.FibrillatoryWaves || (irregular && f_.BeatCount >= c::kMinBeatsForFibrillation)) {
      AddRhythm(code::kAtrialFibrillation, Weight::kAbnormal);
    } else if (!paced_) {
      AddRhythm(irregular ? code::kIrregularRhythm : code::kUndeterminedRhythm,
                Weight::kBorderline);
    }
    // Beats of another shape in a paced rhythm are as often its own conducted or
    // fusion beats; early beats are premature only against a sinus rhythm.
    if (f_.VentricularEctopics > 0 && !paced_) {
      AddRhythm(code::kVentricularPremature, Weight::kBorderline);
    }
    if (f_.SupraventricularEctopics > 0 && f_.PWavePresent) {
      AddRhythm(code::kSupraventricularPremature, Weight::kBorderline);
    }
  }

  void SinusRhythm(bool irregular) {
    if (f_.HeartRate < c::kBradycardiaBelow) {
      // A resting rate from 50 is a normal variant; below it borderline.
      AddRhythm(code::kSinusBradycardia,
                f_.HeartRate >= c::kNormalRestingRateFrom ? Weight::kNormal : Weight::kBorderline);
    } else if (f_.HeartRate > c::kTachycardiaAbove) {
      AddRhythm(code::kSinusTachycardia, Weight::kBorderline);
    } else if (!irregular) {
      AddRhythm(code::kSinusRhythm, Weight::kNormal);
    }
    // A normal variant: it does not make the ECG borderline.
    if (irregular) AddRhythm(code::kSinusArrhythmia, Weight::kNormal);
  }

  // In order of importance: acute injury first, then conduction, then the rest.
  void Morphology() {
    // Paced complexes carry their own Q waves and secondary ST-T changes.
    if (!paced_) STElevation();
    Conduction();
    const bool secondary = paced_ || f_.QRSDuration >= c::kQRSCompleteBlockFrom;
    if (!secondary) STDepression();
    if (!paced_) QWaves();
    if (!paced_) QTc();
    PR();
    Hypertrophy();
    if (!secondary) TInversion();
    LowVoltage();
    Axis();
  }

  void STElevation() {
    static constexpr LeadGroup kGroups[] = {{code::kSTElevationAnterior, kAnterior},
                                            {code::kSTElevationInferior, kInferior},
                                            {code::kSTElevationLateral, kLateral}};
    for (const LeadGroup& group : kGroups) {
      const int count = CountLeads(f_, group.Members, [this](const LeadFindings& lead) {
        return lead.JPointAmplitude >= STElevationLimit(f_, lead.LeadCode);
      });
      if (count >= c::kLeadsInGroup) AddMorphology(group.Code, Weight::kAbnormal);
    }
  }

  void STDepression() {
    static constexpr LeadGroup kGroups[] = {{code::kSTDepressionAnterior, kAnterior},
                                            {code::kSTDepressionInferior, kInferior},
                                            {code::kSTDepressionLateral, kLateral}};
    for (const LeadGroup& group : kGroups) {
      const int count = CountLeads(f_, group.Members, [this](const LeadFindings& lead) {
        // Depressed where the ST segment is judged (J+60 at fast rates, else J+80)
        // and horizontal or downsloping from the J point: an upsloping J-point
        // depression is the end of the QRS, not ischaemia.
        const int st = f_.HeartRate > c::kTachycardiaAbove ? lead.STJ60 : lead.STJ80;
        return -st >= c::kSTDepressionFrom && st - lead.JPointAmplitude <= c::kSTFlatRiseUpTo;
      });
      if (count >= c::kLeadsInGroup) AddMorphology(group.Code, Weight::kAbnormal);
    }
  }

  bool LeftBundlePattern() const {
    // V1 a QS or rS: mainly negative, whatever its negative wave is called.
    const LeadFindings* v1 = FindLead(f_, kV1);
    if (!v1 || MainlyPositive(*v1)) return false;
    // Broad, mainly positive I and V6 without the broad S of a right bundle branch
    // block, and no septal q in I, V5 and V6.
    const int upright = CountLeads(f_, kIAndV6, [](const LeadFindings& lead) {
      return MainlyPositive(lead) && !BroadS(lead);
    });
    const int septalQ = CountLeads(f_, {kI, kV5, kV6}, [](const LeadFindings& lead) {
      return -lead.QAmplitude >= c::kSeptalQFrom;
    });
    return upright == CountPresent(f_, kIAndV6) && upright > 0 && septalQ == 0;
  }

  bool RightBundlePattern() const {
    // rsr', rsR' or rSR' in V1, or a dominant R there.
    const LeadFindings* v1 = FindLead(f_, kV1);
    if (!v1 || (v1->RdashAmplitude <= 0 && !MainlyPositive(*v1))) return false;
    const int broadS = CountLeads(f_, kIAndV6, BroadS);
    return broadS == CountPresent(f_, kIAndV6) && broadS > 0;
  }

  void Conduction() {
    if (paced_) return;  // paced complexes are broad by nature
    if (f_.QRSDuration >= c::kQRSCompleteBlockFrom) {
      if (LeftBundlePattern()) {
        lbbb_ = true;
        AddMorphology(code::kLeftBundleBranchBlock, Weight::kAbnormal);
      } else if (RightBundlePattern()) {
        AddMorphology(code::kRightBundleBranchBlock, Weight::kAbnormal);
      } else {
        AddMorphology(code::kWideQRS, Weight::kAbnormal);
      }
    } else if (f_.QRSDuration >= c::kQRSIncompleteFrom && RightBundlePattern()) {
      AddMorphology(code::kIncompleteRBBB, Weight::kBorderline);
    }
  }

  void QWaves() {
    // V1 is left out: a QS there is normal.
    static constexpr LeadGroup kGroups[] = {{code::kQWavesInferior, kInferior},
                                            {code::kQWavesAnterior, {kV2, kV3, kV4}},
                                            {code::kQWavesLateral, kLateral}};
    for (const LeadGroup& group : kGroups) {
      if (CountLeads(f_, group.Members, PathologicalQ) >= c::kLeadsInGroup) {
        AddMorphology(group.Code, Weight::kAbnormal);
      }
    }
  }

  void QTc() {
    const int qtc = f_.QTcFridericia > 0 ? f_.QTcFridericia : f_.QTcBazett;
    const int limit = f_.Sex == 'M' ? c::kQTcLongMenFrom : c::kQTcLongWomenFrom;
    if (qtc > 0 && qtc >= limit) AddMorphology(code::kProlongedQTc, Weight::kAbnormal);
  }

  void PR() {
    if (!f_.PWavePresent || paced_ || f_.PRInterval <= 0) return;
    if (f_.PRInterval > c::kPRLongAbove) {
      AddMorphology(code::kFirstDegreeAVBlock, Weight::kBorderline);
    } else if (f_.PRInterval < c::kPRShortBelow) {
      AddMorphology(code::kShortPR, Weight::kBorderline);
    }
  }

  void Hypertrophy() {
    // Voltage alone is no hypertrophy in the young, whose healthy hearts often reach it.
    if (lbbb_ || paced_ || (f_.AgeYears >= 0 && f_.AgeYears < c::kVoltageLVHFromAge)) return;
    const LeadFindings* v1 = FindLead(f_, kV1);
    const LeadFindings* v5 = FindLead(f_, kV5);
    const LeadFindings* v6 = FindLead(f_, kV6);
    const LeadFindings* avl = FindLead(f_, kAVL);
    const LeadFindings* v3 = FindLead(f_, kV3);
    bool lvh = false;
    if (v1 && (v5 || v6)) {
      const int r = std::max(v5 ? v5->RAmplitude : 0, v6 ? v6->RAmplitude : 0);
      lvh = -v1->SAmplitude + r >= c::kSokolowLyonFrom;
    }
    if (avl && v3) {
      const int limit = IsWomen(f_) ? c::kCornellWomenAbove : c::kCornellMenAbove;
      lvh = lvh || avl->RAmplitude - v3->SAmplitude > limit;
    }
    if (lvh) AddMorphology(code::kLeftVentricularHypertrophy, Weight::kAbnormal);
  }

  void TInversion() {
    const int count = CountLeads(f_, kUprightT, [](const LeadFindings& l) {
      return -l.TAmplitudeMinus >= c::kTInversionFrom && -l.TAmplitudeMinus > l.TAmplitudePlus;
    });
    if (count >= c::kLeadsInGroup) AddMorphology(code::kTWaveInversion, Weight::kBorderline);
  }

  void LowVoltage() {
    const auto low = [this](const Leads& leads, int below) {
      const int present = CountPresent(f_, leads);
      const int small = CountLeads(
          f_, leads, [below](const LeadFindings& lead) { return PeakToPeak(lead) < below; });
      return present >= c::kLeadsInGroup && small == present;
    };
    if (low(kLimb, c::kLowVoltageLimbBelow) || low(kPrecordial, c::kLowVoltagePrecordialBelow)) {
      AddMorphology(code::kLowQRSVoltage, Weight::kBorderline);
    }
  }

  void Axis() {
    if (f_.QRSAxis == kAxisUndefined || paced_) return;
    if (f_.QRSAxis < c::kAxisLeftBelow) {
      AddMorphology(code::kLeftAxisDeviation, Weight::kBorderline);
    } else if (f_.QRSAxis > c::kAxisRightAbove) {
      AddMorphology(code::kRightAxisDeviation, Weight::kBorderline);
    } else {
      AddMorphology(code::kNormalAxis, Weight::kNormal);
    }
  }

  // The last morphology record sums up; the findings before it keep their order.
  void Summary() {
    if (morphology_.size() > kMaxMorphology - 1) morphology_.resize(kMaxMorphology - 1);
    result_.Morphology = morphology_;
    switch (worst_) {
      case Weight::kNormal:
        result_.Morphology.push_back(code::kNormalECG);
        break;
      case Weight::kBorderline:
        result_.Morphology.push_back(code::kBorderlineECG);
        break;
      case Weight::kAbnormal:
        result_.Morphology.push_back(code::kAbnormalECG);
        break;
    }
  }

  const Findings& f_;
  Statements result_;
  std::vector<uint16_t> morphology_;
  Weight worst_ = Weight::kNormal;
  bool paced_ = false;
  bool lbbb_ = false;
};

}  // namespace

Statements Interpret(const Findings& findings) {
  return Interpreter(findings).Run();
}

}  // namespace ktx::engine
