// Reference beat, delineation, axes and per-lead amplitudes against the generator's
// ground truth, over a spread of intervals, rates and noise levels.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/analysis.h"
#include "engine/ecg_generator.h"
#include "engine/lobe_fit.h"

namespace {

struct Interval {
  const char* Name;
  double Limit;      // allowed standard deviation of the error, ms
  double MeanLimit;  // allowed mean error, ms
  std::vector<double> Errors;
};

struct Condition {
  double Rate, Noise, Wander;
};

class DelineationAt : public testing::TestWithParam<Condition> {};

TEST_P(DelineationAt, IntervalErrorsStayWithinTheDiagnosticLimits) {
  const Condition c = GetParam();
  // The limits for measuring intervals on a calibrated reference ECG (IEC 60601-2-25).
  Interval p{"P duration", 10, 5, {}}, pr{"PR", 10, 5, {}}, qrs{"QRS duration", 10, 5, {}},
      qt{"QT", 25, 5, {}};
  unsigned seed = 1;
  for (double hr : {55.0, 75.0, 95.0})
    for (double qrsDuration : {0.08, 0.11})
      for (double prInterval : {0.14, 0.20}) {
        testgen::Options o;
        o.Rate = c.Rate;
        o.HeartRate = hr;
        o.QrsDuration = qrsDuration;
        o.PR = prInterval;
        o.QT = 0.40 - (hr - 75) * 0.002;
        o.NoiseUv = c.Noise;
        o.WanderUv = c.Wander;
        o.Seed = seed++;
        const auto a = ktx::engine::Analyse(testgen::ToSignal(testgen::Generate(o)), true);
        ASSERT_EQ(a.Result, ktx::engine::kResultOk);
        ASSERT_TRUE(a.Found.PWavePresent);
        p.Errors.push_back(a.Found.PDuration - o.PDuration * 1000);
        pr.Errors.push_back(a.Found.PRInterval - o.PR * 1000);
        qrs.Errors.push_back(a.Found.QRSDuration - o.QrsDuration * 1000);
        qt.Errors.push_back(a.Found.QTInterval - o.QT * 1000);
      }
  for (const Interval* i : {&p, &pr, &qrs, &qt}) {
    double mean = 0, var = 0;
    for (double e : i->Errors) mean += e;
    mean /= static_cast<double>(i->Errors.size());
    for (double e : i->Errors) var += (e - mean) * (e - mean);
    const double sd = std::sqrt(var / static_cast<double>(i->Errors.size()));
    EXPECT_LE(std::fabs(mean), i->MeanLimit) << i->Name;
    EXPECT_LE(sd, i->Limit) << i->Name;
    std::printf("%-13s rate %4.0f noise %2.0f: mean %+5.1f ms, SD %4.1f ms\n", i->Name, c.Rate,
                c.Noise, mean, sd);
  }
}

INSTANTIATE_TEST_SUITE_P(RatesAndNoise, DelineationAt,
                         testing::Values(Condition{250, 0, 0}, Condition{500, 0, 0},
                                         Condition{1000, 0, 0}, Condition{250, 50, 300},
                                         Condition{500, 50, 300}, Condition{1000, 50, 300}));

TEST(LobeFit, FindsAHalfSineLobeOnATiltedNoisyBaseline) {
  std::mt19937 random(7);
  std::normal_distribution<double> gauss(0.0, 1.0);
  for (int length : {20, 45, 80}) {
    const int onset = 60;
    std::vector<double> y(200);
    for (size_t i = 0; i < y.size(); ++i) {
      const double k = static_cast<double>(i) - onset;
      y[i] = 40 - 0.3 * static_cast<double>(i) + 5 * gauss(random);
      if (k > 0 && k < length) y[i] += 100 * std::sin(3.14159265358979 * k / length);
    }
    // Samples 10 to 190, spanning the peak, 10 to 120 samples long.
    const ktx::engine::FittedLobe lobe =
        ktx::engine::FitLobe(y, {10, 190, onset + length / 2, 10, 120});
    EXPECT_NEAR(lobe.Onset, onset, 1) << length;
    EXPECT_NEAR(lobe.Offset - lobe.Onset + 1, length, 2) << length;
    EXPECT_NEAR(lobe.Amplitude, 100, 6) << length;
  }
}

TEST(Delineation, QrsLocationsOfEveryBeatMatchItsOnsetAndOffset) {
  testgen::Options o;
  o.NoiseUv = 20;
  const testgen::Ecg ecg = testgen::Generate(o);
  const auto a = ktx::engine::Analyse(testgen::ToSignal(ecg), true);
  ASSERT_EQ(a.Complexes.size(), ecg.Beats.size());
  for (size_t b = 0; b < ecg.Beats.size(); ++b) {
    EXPECT_NEAR(a.Complexes[b].Onset / o.Rate, ecg.Beats[b].QrsOnset, 0.008) << b;
    EXPECT_NEAR(a.Complexes[b].Offset / o.Rate, ecg.Beats[b].QrsOffset, 0.008) << b;
  }
}

TEST(Delineation, TheTWaveEndsBeforeTheNextBeatAtFastRates) {
  // 150/min: the next P wave starts 10 ms after the T wave ends.
  testgen::Options o;
  o.HeartRate = 150;
  o.QT = 0.25;
  o.PR = 0.14;
  o.NoiseUv = 10;
  const auto a = ktx::engine::Analyse(testgen::ToSignal(testgen::Generate(o)), true);
  ASSERT_EQ(a.Result, ktx::engine::kResultOk);
  EXPECT_NEAR(a.Found.QTInterval, 250, 25);
  EXPECT_NEAR(a.Found.PRInterval, 140, 20);
}

TEST(Delineation, FrontalAxesFollowTheWaveDirections) {
  for (double axis : {0.0, 45.0, 75.0, 110.0}) {
    testgen::Options o;
    o.QrsAxis = axis;
    o.PAxis = axis + 10;
    o.TAxis = axis - 10;
    const auto a = ktx::engine::Analyse(testgen::ToSignal(testgen::Generate(o)), true);
    ASSERT_EQ(a.Result, ktx::engine::kResultOk) << axis;
    EXPECT_NEAR(a.Found.QRSAxis, axis, 6) << axis;
    EXPECT_NEAR(a.Found.PAxis, axis + 10, 10) << axis;
    EXPECT_NEAR(a.Found.TAxis, axis - 10, 10) << axis;
  }
}

TEST(Measurements, PerLeadAmplitudesAreTheProjectionsOfEachWave) {
  testgen::Options o;
  o.NoiseUv = 10;
  const auto a = ktx::engine::Analyse(testgen::ToSignal(testgen::Generate(o)), true);
  ASSERT_EQ(a.Found.Leads.size(), 8u);
  for (size_t l = 0; l < 8; ++l) {
    const auto& m = a.Found.Leads[l];
    EXPECT_EQ(m.LeadCode, static_cast<uint16_t>(l == 0 ? 1 : l + 1));
    const double qrs = testgen::Projection(l, o.QrsAxis, -0.5);
    const double t = testgen::Projection(l, o.TAxis, 0.3);
    // Each wave within 8 % + 15 uV where it is large enough to measure.
    const auto expectNear = [l](int found, double expected) {
      if (std::fabs(expected) > 60) {
        EXPECT_NEAR(found, expected, 0.08 * std::fabs(expected) + 15) << l;
      }
    };
    // The largest positive QRS wave is R where the QRS points towards the lead, the
    // inverted Q otherwise.
    expectNear(m.RAmplitude, qrs > 0 ? o.RAmplitude * qrs : o.QAmplitude * -qrs);
    expectNear(m.TAmplitudePlus, std::max(0.0, o.TAmplitude * t));
    expectNear(m.TAmplitudeMinus, std::min(0.0, o.TAmplitude * t));
    EXPECT_NEAR(m.STJ60, 0, 25) << l;
  }
}

}  // namespace
