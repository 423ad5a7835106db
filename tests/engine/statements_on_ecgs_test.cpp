// The statements the whole chain makes of generated ECGs built just inside and just
// outside each criterion's threshold. The margins leave room for the measurement
// error the delineation tests allow (about 10 ms, a few degrees, a few microvolts).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "engine/analysis.h"
#include "engine/ecg_generator.h"
#include "engine/statement_codes.h"

namespace {

namespace code = ktx::engine::code;

struct Case {
  const char* Name;
  std::function<void(testgen::Options&)> Shape;
  uint16_t Code;
  bool Stated;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.Name;
}

bool Has(const ktx::engine::Statements& s, uint16_t c) {
  return std::count(s.Rhythm.begin(), s.Rhythm.end(), c) +
             std::count(s.Morphology.begin(), s.Morphology.end(), c) >
         0;
}

class StatementOnEcg : public testing::TestWithParam<Case> {};

TEST_P(StatementOnEcg, IsMadeJustInsideItsThresholdAndNotJustOutside) {
  const Case& c = GetParam();
  testgen::Options o;
  o.TwelveLeads = true;
  c.Shape(o);
  const auto a = ktx::engine::Analyse(testgen::ToSignal(testgen::Generate(o)), true);
  ASSERT_EQ(a.Result, ktx::engine::kResultOk);
  EXPECT_EQ(Has(ktx::engine::Interpret(a.Found), c.Code), c.Stated)
      << "rate " << a.Found.HeartRate << ", PR " << a.Found.PRInterval << ", QRS "
      << a.Found.QRSDuration << ", QTcF " << a.Found.QTcFridericia << ", axis " << a.Found.QRSAxis
      << ", paced beats " << a.Found.PacedBeats << " of " << a.Found.BeatCount;
}

// QT for a QTc (Fridericia) of `qtc` ms at the options' heart rate.
double QtFor(const testgen::Options& o, double qtc) {
  return qtc / 1000.0 * std::cbrt(60.0 / o.HeartRate);
}

const Case kCases[] = {
    {"Rate56IsBradycardia", [](auto& o) { o.HeartRate = 56; }, code::kSinusBradycardia, true},
    {"Rate64IsNot", [](auto& o) { o.HeartRate = 64; }, code::kSinusBradycardia, false},
    {"Rate64IsSinusRhythm", [](auto& o) { o.HeartRate = 64; }, code::kSinusRhythm, true},
    {"Rate106IsTachycardia", [](auto& o) { o.HeartRate = 106; }, code::kSinusTachycardia, true},
    {"Rate95IsNot", [](auto& o) { o.HeartRate = 95; }, code::kSinusTachycardia, false},
    {"PR220IsFirstDegreeBlock", [](auto& o) { o.PR = 0.22; }, code::kFirstDegreeAVBlock, true},
    {"PR180IsNot", [](auto& o) { o.PR = 0.18; }, code::kFirstDegreeAVBlock, false},
    {"PR100IsShort",
     [](auto& o) {
       o.PDuration = 0.08;
       o.PR = 0.10;
     },
     code::kShortPR, true},
    {"PR140IsNot", [](auto& o) { o.PR = 0.14; }, code::kShortPR, false},
    {"AxisMinus45IsLeftDeviation", [](auto& o) { o.QrsAxis = -45; }, code::kLeftAxisDeviation,
     true},
    {"AxisMinus15IsNot", [](auto& o) { o.QrsAxis = -15; }, code::kLeftAxisDeviation, false},
    {"Axis105IsRightDeviation", [](auto& o) { o.QrsAxis = 105; }, code::kRightAxisDeviation, true},
    {"Axis75IsNot", [](auto& o) { o.QrsAxis = 75; }, code::kRightAxisDeviation, false},
    {"QTc490IsProlonged", [](auto& o) { o.QT = QtFor(o, 490); }, code::kProlongedQTc, true},
    {"QTc430IsNot", [](auto& o) { o.QT = QtFor(o, 430); }, code::kProlongedQTc, false},
    {"SmallQrsIsLowVoltage",
     [](auto& o) {
       o.RAmplitude = 300;
       o.SAmplitude = 80;
       o.QAmplitude = 30;
     },
     code::kLowQRSVoltage, true},
    {"UsualQrsIsNot", [](auto& o) { o.RAmplitude = 1200; }, code::kLowQRSVoltage, false},
    {"EarlyWideBeatIsVentricularPremature", [](auto& o) { o.Ectopic = {4}; },
     code::kVentricularPremature, true},
    {"RegularBeatsAreNot", [](auto&) {}, code::kVentricularPremature, false},
    {"SpikeBeforeEveryBeatIsPaced",
     [](auto& o) {
       o.Rate = 1000;  // the generator's spikes last 1 ms
       for (int b = 0; b < 12; ++b) o.Paced.push_back(b);
     },
     code::kPacedRhythm, true},
    {"NoSpikesIsNotPaced", [](auto&) {}, code::kPacedRhythm, false},
    {"SpikesBeforeAFewBeatsAreNot",
     [](auto& o) {
       o.Rate = 1000;
       o.Paced = {2, 5};
     },
     code::kPacedRhythm, false},
    {"UsualEcgIsNormal", [](auto&) {}, code::kNormalECG, true},
    {"LongPRIsNotNormal", [](auto& o) { o.PR = 0.24; }, code::kNormalECG, false},
};

INSTANTIATE_TEST_SUITE_P(Criteria, StatementOnEcg, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& p) {
                           return std::string(p.param.Name);
                         });

}  // namespace
