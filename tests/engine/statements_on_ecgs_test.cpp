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
// Atria on their own at `rate`, each P wave doing in turn what `prs` says (seconds, or
// blocked when negative); with `ventricles`, the QRS complexes beat at that rate alone.
const auto Atria = [](double rate, std::vector<double> prs, double ventricles = 0) {
  return [=](testgen::Options& o) {
    o.AtrialRate = rate;
    o.PRs = prs;
    o.Dissociated = ventricles > 0;
    if (ventricles > 0) o.HeartRate = ventricles;
  };
};
const auto Ectopic = [](std::vector<int> beats) {
  return [=](testgen::Options& o) { o.Ectopic = beats; };
};

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
    // Every P wave between the beats: blocked ones on the T wave, P waves marching
    // through a slow escape rhythm.
    {kThirdDegreeAVBlock,
     {Atria(75, {}, 42),
      [](testgen::Options& o) {
        Atria(90, {}, 37)(o);
        o.QrsDuration = 0.14;
      }},
     {kUsual, Atria(75, {0.18})}},
    {kAVBlock2To1, {Atria(80, {0.16, -1})}, {kUsual}},
    {kMobitzI, {Atria(75, {0.16, 0.24, 0.29, -1})}, {Atria(75, {0.16, 0.16, 0.16, -1})}},
    {kMobitzII, {Atria(75, {0.16, 0.16, 0.16, -1})}, {Atria(75, {0.16, 0.24, 0.29, -1})}},
    // A delta wave: the R wave peaks late after an early QRS onset, the PR short.
    {kPreexcitation,
     {[](testgen::Options& o) {
       o.DeltaWave = 0.04;
       o.PR = 0.155;
       o.PDuration = 0.08;
     }},
     {kUsual}},
    {kLeftAtrialEnlargement,
     {[](testgen::Options& o) { o.PDuration = 0.13; }},
     {[](testgen::Options& o) { o.PDuration = 0.11; }}},
    {kRightAtrialEnlargement,
     {[](testgen::Options& o) { o.PAmplitude = 350; }},
     {[](testgen::Options& o) { o.PAmplitude = 200; }}},
    {kEctopicAtrialRhythm, {[](testgen::Options& o) { o.PAxis = -70; }}, {kUsual}},
    {kAcceleratedJunctional, {[](testgen::Options& o) { o.PAmplitude = 0; }}, {kUsual}},
    {kVentricularTrigeminy, {Ectopic({2, 5, 8})}, {Ectopic({2, 5})}},
    {kVentricularCouplet, {Ectopic({3, 4})}, {Ectopic({3, 5})}},
    {kAtrialPacedRhythm,
     {[](testgen::Options& o) {
       o.Rate = 1000;
       o.AtrialPaced = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
     }},
     {kUsual}},
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
