// The statements the whole chain makes of generated ECGs built just inside and just
// outside each criterion's threshold. The margins leave room for the measurement
// error the delineation tests allow (about 10 ms, a few degrees, a few microvolts).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/analysis.h"
#include "engine/ecg_generator.h"
#include "engine/statement_codes.h"

namespace {

using namespace ktx::engine::code;  // NOLINT(google-build-using-namespace)
using Shape = std::function<void(testgen::Options&)>;

// A statement and the ECGs that must make it and those that must not.
struct Criterion {
  uint16_t Code;
  std::vector<Shape> Stated, NotStated;
};

const auto Rate = [](double bpm) { return [=](testgen::Options& o) { o.HeartRate = bpm; }; };
const auto PR = [](double s) { return [=](testgen::Options& o) { o.PR = s; }; };
const auto Axis = [](double degrees) { return [=](testgen::Options& o) { o.QrsAxis = degrees; }; };
// QT for a QTc (Fridericia) of `qtc` ms at the options' heart rate.
const auto QTc = [](double qtc) {
  return [=](testgen::Options& o) { o.QT = qtc / 1000.0 * std::cbrt(60.0 / o.HeartRate); };
};
// Pacemaker spikes, which last 1 ms, before the beats given.
const auto Paced = [](std::vector<int> beats) {
  return [=](testgen::Options& o) {
    o.Rate = 1000;
    o.Paced = beats;
  };
};
const Shape kUsual = [](testgen::Options&) {};

const Criterion kCriteria[] = {
    {kSinusBradycardia, {Rate(56)}, {Rate(64)}},
    {kSinusRhythm, {Rate(64)}, {}},
    {kSinusTachycardia, {Rate(106)}, {Rate(95)}},
    {kFirstDegreeAVBlock, {PR(0.22)}, {PR(0.18)}},
    {kShortPR,
     {[](testgen::Options& o) {
       o.PDuration = 0.08;
       o.PR = 0.10;
     }},
     {PR(0.14)}},
    {kLeftAxisDeviation, {Axis(-45)}, {Axis(-15)}},
    {kRightAxisDeviation, {Axis(105)}, {Axis(75)}},
    {kProlongedQTc, {QTc(490)}, {QTc(430)}},
    {kLowVoltageLimb,
     {[](testgen::Options& o) {
       o.RAmplitude = 300;
       o.SAmplitude = 80;
       o.QAmplitude = 30;
     }},
     {kUsual}},
    {kVentricularPremature, {[](testgen::Options& o) { o.Ectopic = {4}; }}, {kUsual}},
    {kPacedRhythm, {Paced({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})}, {kUsual, Paced({2, 5})}},
    {kNormalECG, {kUsual}, {PR(0.24)}},
};

bool Has(const ktx::engine::Statements& s, uint16_t c) {
  const auto in = [c](const std::vector<uint16_t>& codes) {
    return std::count(codes.begin(), codes.end(), c);
  };
  return in(s.Rhythm) + in(s.Morphology) > 0;
}

TEST(StatementsOnEcgs, AreMadeJustInsideTheirThresholdAndNotJustOutside) {
  for (const Criterion& c : kCriteria) {
    for (const bool stated : {true, false}) {
      const std::vector<Shape>& shapes = stated ? c.Stated : c.NotStated;
      for (size_t i = 0; i < shapes.size(); ++i) {
        testgen::Options o;
        o.TwelveLeads = true;
        shapes[i](o);
        const auto a = ktx::engine::Analyse(testgen::ToSignal(testgen::Generate(o)), true);
        ASSERT_EQ(a.Result, ktx::engine::kResultOk) << "code " << c.Code << " case " << i;
        EXPECT_EQ(Has(ktx::engine::Interpret(a.Found), c.Code), stated)
            << "code " << c.Code << (stated ? ", stated case " : ", not stated case ") << i
            << ": rate " << a.Found.HeartRate << ", PR " << a.Found.PRInterval << ", QRS "
            << a.Found.QRSDuration << ", QTcF " << a.Found.QTcFridericia << ", axis "
            << a.Found.QRSAxis << ", paced beats " << a.Found.PacedBeats << " of "
            << a.Found.BeatCount;
      }
    }
  }
}

}  // namespace
