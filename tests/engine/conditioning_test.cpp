#include "engine/conditioning.h"
#include "engine/ecg_generator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> Sine(double rate, double hz, double amplitude, double seconds) {
  std::vector<double> x(static_cast<size_t>(rate * seconds));
  for (size_t i = 0; i < x.size(); ++i)
    x[i] = amplitude * std::sin(2 * kPi * hz * static_cast<double>(i) / rate);
  return x;
}

// Largest magnitude away from the edges, where filters settle.
double InnerPeak(const std::vector<double>& x) {
  double m = 0;
  for (size_t i = x.size() / 4; i < 3 * x.size() / 4; ++i) m = std::max(m, std::fabs(x[i]));
  return m;
}

class ConditioningAtRate : public testing::TestWithParam<double> {};

TEST_P(ConditioningAtRate, RemovesWanderHumAndHighFrequenciesButKeepsTheEcgBand) {
  const double rate = GetParam();
  auto wander = Sine(rate, 0.3, 800, 10);
  ktx::engine::RemoveBaseline(wander, rate);
  EXPECT_LT(InnerPeak(wander), 40) << "0.3 Hz drift left";

  for (double mains : {50.0, 60.0}) {
    if (rate < 2.4 * mains) continue;
    auto hum = Sine(rate, mains, 100, 10);
    ktx::engine::NotchMains(hum, rate, mains);
    EXPECT_LT(InnerPeak(hum), 5) << mains << " Hz hum left";
    // Hum of 20 uV on an ECG is found, the ECG's own content near the mains is not.
    for (double uv : {0.0, 20.0}) {
      testgen::Options o;
      o.Rate = rate;
      o.MainsHz = mains;
      o.MainsUv = uv;
      const testgen::Ecg ecg = testgen::Generate(o);
      std::vector<double> lead = ecg.Leads[1];
      ktx::engine::RemoveBaseline(lead, rate);
      const std::vector<uint8_t> none(lead.size(), 0);
      EXPECT_EQ(ktx::engine::CarriesMains(lead, none, rate, mains), uv > 0) << mains << " Hz";
    }
  }
  auto band = Sine(rate, 10, 100, 10);
  for (double mains : {50.0, 60.0}) ktx::engine::NotchMains(band, rate, mains);
  ktx::engine::LowPass(band, rate, 40);
  EXPECT_GT(InnerPeak(band), 95) << "10 Hz content lost";

  if (rate >= 250) {
    auto high = Sine(rate, 100, 100, 10);
    ktx::engine::LowPass(high, rate, 40);
    EXPECT_LT(InnerPeak(high), 10) << "100 Hz passed";
  }
}

INSTANTIATE_TEST_SUITE_P(Rates, ConditioningAtRate, testing::Values(100.0, 250.0, 500.0, 1000.0));

TEST(Conditioning, KeepsAQrsSizedPulseAboveTheRemovedBaseline) {
  // A 1 mV, 80 ms pulse every second on a drifting line keeps its height.
  const double rate = 500;
  std::vector<double> x(5000);
  for (size_t i = 0; i < x.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double phase = std::fmod(t, 1.0);
    x[i] = 300 * std::sin(2 * kPi * 0.2 * t) +
           (phase < 0.08 ? 1000 * std::sin(kPi * phase / 0.08) : 0);
  }
  ktx::engine::RemoveBaseline(x, rate);
  const size_t peak = 2 * 500 + 20;  // top of the pulse at t = 2.04 s
  EXPECT_NEAR(x[peak], 1000, 40);
  EXPECT_NEAR(x[peak + 200], 0, 40);
}

}  // namespace
