// The diagnostic criteria on hand-made findings: each threshold just inside and just
// outside, from a normal adult ECG changed in one respect.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/findings.h"
#include "engine/statement_codes.h"

namespace {

using ktx::engine::Findings;
using ktx::engine::LeadFindings;
namespace code = ktx::engine::code;

constexpr uint16_t kI = 1, kII = 2, kV1 = 3, kV2 = 4, kV3 = 5, kV4 = 6, kV5 = 7, kV6 = 8;
constexpr uint16_t kIII = 61, kAVR = 62, kAVL = 63, kAVF = 64;
constexpr uint16_t kAllLeads[] = {kI, kII, kIII, kAVR, kAVL, kAVF, kV1, kV2, kV3, kV4, kV5, kV6};

// Sinus rhythm at 70/min, PR 160, QRS 90, QTc 410, axis +60, a man of 50; every lead
// R 1.0 mV, S 0.3 mV, upright T, except V1 with its rS.
Findings NormalEcg() {
  Findings f;
  f.BeatCount = 10;
  f.HeartRate = 70;
  f.MeanRR = f.MeanPP = 857;
  f.RRStdDev = 20;
  f.RRIrregularity = 0.02;
  f.PWavePresent = true;
  f.PDuration = 100;
  f.PRInterval = 160;
  f.QRSDuration = 90;
  f.QTInterval = 380;
  f.QTcBazett = 415;
  f.QTcFridericia = 410;
  f.PAxis = 50;
  f.QRSAxis = 60;
  f.TAxis = 40;
  f.Sex = 'M';
  f.AgeYears = 50;
  for (uint16_t lead : kAllLeads) {
    LeadFindings l;
    l.LeadCode = lead;
    l.RAmplitude = 1000;
    l.SAmplitude = -300;
    l.RDuration = 40;
    l.SDuration = 20;
    l.TAmplitudePlus = 300;
    f.Leads.push_back(l);
  }
  LeadFindings& v1 = f.Leads[6];
  v1.RAmplitude = 300;
  v1.SAmplitude = -1000;
  return f;
}

using Change = std::function<void(Findings&)>;

void ForLeads(Findings& f, const std::vector<uint16_t>& leads,
              const std::function<void(LeadFindings&)>& change) {
  for (LeadFindings& lead : f.Leads) {
    if (std::find(leads.begin(), leads.end(), lead.LeadCode) != leads.end()) change(lead);
  }
}

// rsR' in V1 and a broad S in I and V6.
void RightBundlePattern(Findings& f) {
  ForLeads(f, {kV1}, [](LeadFindings& l) { l.RdashAmplitude = 800; });
  ForLeads(f, {kI, kV6}, [](LeadFindings& l) { l.SDuration = 60; });
}

struct Case {
  const char* Name;
  Change Apply;
  uint16_t Code;
  bool Expected;
};

bool Holds(const ktx::engine::Statements& s, uint16_t c) {
  return std::count(s.Rhythm.begin(), s.Rhythm.end(), c) +
             std::count(s.Morphology.begin(), s.Morphology.end(), c) >
         0;
}

Change Rate(int bpm) {
  return [bpm](Findings& f) { f.HeartRate = bpm; };
}
Change Axis(int degrees) {
  return [degrees](Findings& f) { f.QRSAxis = degrees; };
}
Change PR(int ms) {
  return [ms](Findings& f) { f.PRInterval = ms; };
}
Change NoPWaves(double irregularity, int beats) {
  return [=](Findings& f) {
    f.PWavePresent = false;
    f.RRIrregularity = irregularity;
    f.BeatCount = beats;
  };
}
Change QTc(char sex, int fridericia, int bazett = 400) {
  return [=](Findings& f) {
    f.Sex = sex;
    f.QTcFridericia = fridericia;
    f.QTcBazett = bazett;
  };
}
Change Qrs(int ms, bool rightPattern) {
  return [=](Findings& f) {
    f.QRSDuration = ms;
    if (rightPattern) RightBundlePattern(f);
  };
}
Change Voltage(std::vector<uint16_t> leads, int peakToPeak) {
  return [=](Findings& f) {
    ForLeads(f, leads, [=](LeadFindings& l) {
      l.RAmplitude = peakToPeak - 100;
      l.SAmplitude = -100;
    });
  };
}
Change Sokolow(int sv1, int rv5) {
  return [=](Findings& f) {
    ForLeads(f, {kV1}, [=](LeadFindings& l) { l.SAmplitude = -sv1; });
    ForLeads(f, {kV5}, [=](LeadFindings& l) { l.RAmplitude = rv5; });
  };
}
Change Cornell(char sex, int ravl, int sv3) {
  return [=](Findings& f) {
    f.Sex = sex;
    ForLeads(f, {kAVL}, [=](LeadFindings& l) { l.RAmplitude = ravl; });
    ForLeads(f, {kV3}, [=](LeadFindings& l) { l.SAmplitude = -sv3; });
  };
}
Change JPoint(std::vector<uint16_t> leads, int uv, char sex = 'M', int age = 50, int qrs = 90) {
  return [=](Findings& f) {
    f.Sex = sex;
    f.AgeYears = age;
    f.QRSDuration = qrs;
    ForLeads(f, leads, [=](LeadFindings& l) { l.JPointAmplitude = uv; });
  };
}
Change TNegative(int uv, int qrs = 90) {
  return [=](Findings& f) {
    f.QRSDuration = qrs;
    ForLeads(f, {kII, kAVF}, [=](LeadFindings& l) {
      l.TAmplitudePlus = 0;
      l.TAmplitudeMinus = -uv;
    });
  };
}
Change QWave(std::vector<uint16_t> leads, int duration, int depth) {
  return [=](Findings& f) {
    ForLeads(f, leads, [=](LeadFindings& l) {
      l.QDuration = duration;
      l.QAmplitude = -depth;
    });
  };
}

const Case kCases[] = {
    {"Rate60IsSinusRhythm", Rate(60), code::kSinusRhythm, true},
    {"Rate59IsBradycardia", Rate(59), code::kSinusBradycardia, true},
    {"Rate60IsNoBradycardia", Rate(60), code::kSinusBradycardia, false},
    {"Rate100IsNoTachycardia", Rate(100), code::kSinusTachycardia, false},
    {"Rate101IsTachycardia", Rate(101), code::kSinusTachycardia, true},
    {"Irregularity10PercentIsRegular", [](Findings& f) { f.RRIrregularity = 0.10; },
     code::kSinusArrhythmia, false},
    {"Irregularity11PercentIsSinusArrhythmia", [](Findings& f) { f.RRIrregularity = 0.11; },
     code::kSinusArrhythmia, true},
    {"IrregularWithoutPIsFibrillation", NoPWaves(0.11, 8), code::kAtrialFibrillation, true},
    {"SevenIrregularBeatsAreNoFibrillation", NoPWaves(0.11, 7), code::kAtrialFibrillation, false},
    {"SevenIrregularBeatsAreIrregular", NoPWaves(0.11, 7), code::kIrregularRhythm, true},
    {"RegularWithoutPIsUndetermined", NoPWaves(0.10, 10), code::kUndeterminedRhythm, true},
    {"RegularWithoutPIsNoFibrillation", NoPWaves(0.10, 10), code::kAtrialFibrillation, false},
    {"NoBeatsIsUndetermined", [](Findings& f) { f.BeatCount = 0; }, code::kUndeterminedRhythm,
     true},
    {"HalfPacedIsPaced", [](Findings& f) { f.PacedBeats = 5; }, code::kPacedRhythm, true},
    {"FewerPacedIsNotPaced", [](Findings& f) { f.PacedBeats = 4; }, code::kPacedRhythm, false},
    {"OneVentricularEctopic", [](Findings& f) { f.VentricularEctopics = 1; },
     code::kVentricularPremature, true},
    {"OneSupraventricularEctopic", [](Findings& f) { f.SupraventricularEctopics = 1; },
     code::kSupraventricularPremature, true},

    {"AxisMinus30IsNormal", Axis(-30), code::kNormalAxis, true},
    {"AxisMinus31IsLeft", Axis(-31), code::kLeftAxisDeviation, true},
    {"AxisMinus30IsNotLeft", Axis(-30), code::kLeftAxisDeviation, false},
    {"Axis90IsNotRight", Axis(90), code::kRightAxisDeviation, false},
    {"Axis91IsRight", Axis(91), code::kRightAxisDeviation, true},
    {"UndefinedAxisIsNoAxis", Axis(ktx::engine::kAxisUndefined), code::kNormalAxis, false},

    {"PR200IsNoBlock", PR(200), code::kFirstDegreeAVBlock, false},
    {"PR201IsFirstDegreeBlock", PR(201), code::kFirstDegreeAVBlock, true},
    {"PR120IsNotShort", PR(120), code::kShortPR, false},
    {"PR119IsShort", PR(119), code::kShortPR, true},
    {"LongPRWithoutPWavesIsNoBlock",
     [](Findings& f) {
       f.PRInterval = 240;
       f.PWavePresent = false;
     },
     code::kFirstDegreeAVBlock, false},

    {"QRS119IsNoLeftBlock", Qrs(119, false), code::kLeftBundleBranchBlock, false},
    {"QRS120IsLeftBlock", Qrs(120, false), code::kLeftBundleBranchBlock, true},
    {"QRS120WithSeptalQIsNoLeftBlock",
     [](Findings& f) {
       f.QRSDuration = 120;
       ForLeads(f, {kV6}, [](LeadFindings& l) { l.QAmplitude = -100; });
     },
     code::kLeftBundleBranchBlock, false},
    {"QRS120RightPatternIsRightBlock", Qrs(120, true), code::kRightBundleBranchBlock, true},
    {"QRS119RightPatternIsIncomplete", Qrs(119, true), code::kIncompleteRBBB, true},
    {"QRS119RightPatternIsNotComplete", Qrs(119, true), code::kRightBundleBranchBlock, false},
    {"QRS109RightPatternIsNothing", Qrs(109, true), code::kIncompleteRBBB, false},
    {"QRS120NeitherPatternIsConductionDelay",
     [](Findings& f) {
       f.QRSDuration = 120;
       ForLeads(f, {kV1}, [](LeadFindings& l) { l.RAmplitude = 1200; });
     },
     code::kWideQRS, true},
    {"QRS119NeitherPatternIsNoDelay", Qrs(119, false), code::kWideQRS, false},

    {"QTc449ManIsNormal", QTc('M', 449), code::kProlongedQTc, false},
    {"QTc450ManIsLong", QTc('M', 450), code::kProlongedQTc, true},
    {"QTc459WomanIsNormal", QTc('F', 459), code::kProlongedQTc, false},
    {"QTc460WomanIsLong", QTc('F', 460), code::kProlongedQTc, true},
    {"QTc459UnknownSexIsNormal", QTc('U', 459), code::kProlongedQTc, false},
    {"FridericiaDecidesOverBazett", QTc('M', 440, 480), code::kProlongedQTc, false},
    {"BazettWithoutFridericia", QTc('M', 0, 450), code::kProlongedQTc, true},

    {"Limb499IsLowVoltage", Voltage({kI, kII, kIII, kAVR, kAVL, kAVF}, 499), code::kLowQRSVoltage,
     true},
    {"Limb500IsNotLow", Voltage({kI, kII, kIII, kAVR, kAVL, kAVF}, 500), code::kLowQRSVoltage,
     false},
    {"Precordial999IsLowVoltage", Voltage({kV1, kV2, kV3, kV4, kV5, kV6}, 999),
     code::kLowQRSVoltage, true},
    {"Precordial1000IsNotLow", Voltage({kV1, kV2, kV3, kV4, kV5, kV6}, 1000), code::kLowQRSVoltage,
     false},
    {"OneLimbLeadLargeIsNotLow", Voltage({kI, kII, kIII, kAVR, kAVL}, 400), code::kLowQRSVoltage,
     false},

    {"Sokolow3500IsHypertrophy", Sokolow(1500, 2000), code::kLeftVentricularHypertrophy, true},
    {"Sokolow3499IsNot", Sokolow(1499, 2000), code::kLeftVentricularHypertrophy, false},
    {"Cornell2801ManIsHypertrophy", Cornell('M', 2000, 801), code::kLeftVentricularHypertrophy,
     true},
    {"Cornell2800ManIsNot", Cornell('M', 2000, 800), code::kLeftVentricularHypertrophy, false},
    {"Cornell2001WomanIsHypertrophy", Cornell('F', 1500, 501), code::kLeftVentricularHypertrophy,
     true},
    {"Cornell2000WomanIsNot", Cornell('F', 1500, 500), code::kLeftVentricularHypertrophy, false},

    {"InferiorJ100IsElevation", JPoint({kII, kIII}, 100), code::kSTElevationInferior, true},
    {"InferiorJ99IsNot", JPoint({kII, kIII}, 99), code::kSTElevationInferior, false},
    {"OneInferiorLeadIsNot", JPoint({kIII}, 300), code::kSTElevationInferior, false},
    {"LateralJ100IsElevation", JPoint({kI, kAVL}, 100), code::kSTElevationLateral, true},
    {"V2V3J200ManIsElevation", JPoint({kV2, kV3}, 200), code::kSTElevationAnterior, true},
    {"V2V3J199ManIsNot", JPoint({kV2, kV3}, 199), code::kSTElevationAnterior, false},
    {"V2V3J249YoungManIsNot", JPoint({kV2, kV3}, 249, 'M', 39), code::kSTElevationAnterior, false},
    {"V2V3J250YoungManIsElevation", JPoint({kV2, kV3}, 250, 'M', 39), code::kSTElevationAnterior,
     true},
    {"V2V3J150WomanIsElevation", JPoint({kV2, kV3}, 150, 'F'), code::kSTElevationAnterior, true},
    {"V2V3J149WomanIsNot", JPoint({kV2, kV3}, 149, 'F'), code::kSTElevationAnterior, false},
    {"V1V4J100IsElevation", JPoint({kV1, kV4}, 100), code::kSTElevationAnterior, true},
    {"LateralJMinus50IsDepression", JPoint({kV5, kV6}, -50), code::kSTDepressionLateral, true},
    {"LateralJMinus49IsNot", JPoint({kV5, kV6}, -49), code::kSTDepressionLateral, false},
    {"InferiorJMinus50IsDepression", JPoint({kII, kAVF}, -50), code::kSTDepressionInferior, true},
    {"AnteriorJMinus50IsDepression", JPoint({kV2, kV3}, -50), code::kSTDepressionAnterior, true},
    {"DepressionWithWideQRSIsSecondary", JPoint({kV5, kV6}, -100, 'M', 50, 120),
     code::kSTDepressionLateral, false},

    {"TMinus100IsInversion", TNegative(100), code::kTWaveInversion, true},
    {"TMinus99IsNot", TNegative(99), code::kTWaveInversion, false},
    {"InversionWithWideQRSIsSecondary", TNegative(300, 120), code::kTWaveInversion, false},

    {"InferiorQ30By100IsQWave", QWave({kII, kIII}, 30, 100), code::kQWavesInferior, true},
    {"InferiorQ29IsNot", QWave({kII, kIII}, 29, 100), code::kQWavesInferior, false},
    {"InferiorQ99DeepIsNot", QWave({kII, kIII}, 30, 99), code::kQWavesInferior, false},
    {"LateralQ30By100IsQWave", QWave({kAVL, kV6}, 30, 100), code::kQWavesLateral, true},
    {"V2V3Q21IsQWave", QWave({kV2, kV3}, 21, 50), code::kQWavesAnterior, true},
    {"V2V3Q20IsNot", QWave({kV2, kV3}, 20, 50), code::kQWavesAnterior, false},
    {"V2V3QSIsQWave",
     [](Findings& f) {
       ForLeads(f, {kV2, kV3}, [](LeadFindings& l) { l.RAmplitude = 0; });
     },
     code::kQWavesAnterior, true},

    {"NormalIsNormalECG", [](Findings&) {}, code::kNormalECG, true},
    {"SinusArrhythmiaIsStillNormal", [](Findings& f) { f.RRIrregularity = 0.2; }, code::kNormalECG,
     true},
    {"BradycardiaIsBorderline", Rate(50), code::kBorderlineECG, true},
    {"BradycardiaIsNotNormal", Rate(50), code::kNormalECG, false},
    {"FibrillationIsAbnormal", NoPWaves(0.3, 20), code::kAbnormalECG, true},
    {"BorderlineAndAbnormalIsAbnormal",
     [](Findings& f) {
       f.PRInterval = 240;
       f.QTcFridericia = 480;
     },
     code::kAbnormalECG, true},
};

class InterpretCriteria : public testing::TestWithParam<Case> {};

TEST_P(InterpretCriteria, MakesTheStatementOnlyPastItsThreshold) {
  Findings findings = NormalEcg();
  GetParam().Apply(findings);
  EXPECT_EQ(Holds(ktx::engine::Interpret(findings), GetParam().Code), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, InterpretCriteria, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                           return std::string(param.param.Name);
                         });

TEST(Interpret, NormalAdultEcg) {
  const ktx::engine::Statements s = ktx::engine::Interpret(NormalEcg());
  EXPECT_EQ(s.Rhythm, std::vector<uint16_t>{code::kSinusRhythm});
  EXPECT_EQ(s.Morphology, (std::vector<uint16_t>{code::kNormalAxis, code::kNormalECG}));
}

// Many findings at once: the most important first, the summary last, within the
// three rhythm and seven morphology records of Section 9.
TEST(Interpret, OrdersByImportanceWithinTheSectionLimits) {
  Findings f = NormalEcg();
  f.HeartRate = 45;
  f.RRIrregularity = 0.2;
  f.VentricularEctopics = 2;
  f.SupraventricularEctopics = 3;
  f.PRInterval = 240;
  f.QTcFridericia = 500;
  f.QRSAxis = -60;
  JPoint({kII, kIII, kAVF}, 200)(f);
  JPoint({kV5, kV6}, -100)(f);
  QWave({kV2, kV3}, 40, 300)(f);
  TNegative(200)(f);
  const ktx::engine::Statements s = ktx::engine::Interpret(f);
  EXPECT_EQ(s.Rhythm, (std::vector<uint16_t>{code::kSinusBradycardia, code::kSinusArrhythmia,
                                             code::kVentricularPremature}));
  EXPECT_EQ(s.Morphology, (std::vector<uint16_t>{code::kSTElevationInferior,
                                                 code::kSTDepressionLateral, code::kQWavesAnterior,
                                                 code::kProlongedQTc, code::kFirstDegreeAVBlock,
                                                 code::kTWaveInversion, code::kAbnormalECG}));
}

TEST(Interpret, PacedRhythmMakesNoConductionOrAxisStatements) {
  Findings f = NormalEcg();
  f.PacedBeats = 10;
  f.QRSDuration = 160;
  f.QRSAxis = -70;
  const ktx::engine::Statements s = ktx::engine::Interpret(f);
  EXPECT_EQ(s.Rhythm, std::vector<uint16_t>{code::kPacedRhythm});
  EXPECT_EQ(s.Morphology, std::vector<uint16_t>{code::kAbnormalECG});
}

}  // namespace
