#include "engine/conditioning.h"

#include <algorithm>
#include <cmath>

namespace ktx::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Biquad {
  double b0, b1, b2, a1, a2;
};

void RunForward(std::vector<double>& x, const Biquad& f) {
  if (x.empty()) return;
  // Start in the steady state of the first sample so the edge does not ring.
  const double gain = (f.b0 + f.b1 + f.b2) / (1 + f.a1 + f.a2);
  double x1 = x[0], x2 = x[0], y1 = x[0] * gain, y2 = y1;
  for (double& v : x) {
    const double y = f.b0 * v + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
    x2 = x1;
    x1 = v;
    y2 = y1;
    y1 = y;
    v = y;
  }
}

void RunZeroPhase(std::vector<double>& x, const Biquad& f) {
  RunForward(x, f);
  std::reverse(x.begin(), x.end());
  RunForward(x, f);
  std::reverse(x.begin(), x.end());
}

std::vector<double> MedianFilter(const std::vector<double>& x, int half) {
  std::vector<double> out(x.size()), window;
  const int n = static_cast<int>(x.size());
  for (int i = 0; i < n; ++i) {
    const int lo = std::max(0, i - half), hi = std::min(n - 1, i + half);
    window.assign(x.begin() + lo, x.begin() + hi + 1);
    auto mid = window.begin() + static_cast<long>(window.size() / 2);
    std::nth_element(window.begin(), mid, window.end());
    out[static_cast<size_t>(i)] = *mid;
  }
  return out;
}

}  // namespace

void RemoveBaseline(std::vector<double>& x, double rate) {
  if (x.empty()) return;
  const size_t step = std::max<size_t>(1, static_cast<size_t>(std::lround(rate / 50.0)));
  const double coarseRate = rate / static_cast<double>(step);
  std::vector<double> coarse;
  for (size_t i = 0; i < x.size(); i += step) {
    const size_t end = std::min(x.size(), i + step);
    double sum = 0;
    for (size_t k = i; k < end; ++k) sum += x[k];
    coarse.push_back(sum / static_cast<double>(end - i));
  }
  coarse = MedianFilter(coarse, static_cast<int>(0.1 * coarseRate));
  coarse = MedianFilter(coarse, static_cast<int>(0.3 * coarseRate));
  // Block i stands at the middle of its samples; interpolate between block centres.
  const double centre = (static_cast<double>(step) - 1) / 2;
  for (size_t i = 0; i < x.size(); ++i) {
    const double pos = (static_cast<double>(i) - centre) / static_cast<double>(step);
    const double clamped = std::clamp(pos, 0.0, static_cast<double>(coarse.size() - 1));
    const size_t k = static_cast<size_t>(clamped);
    const size_t k1 = std::min(k + 1, coarse.size() - 1);
    const double t = clamped - static_cast<double>(k);
    x[i] -= coarse[k] * (1 - t) + coarse[k1] * t;
  }
}

void NotchMains(std::vector<double>& x, double rate) {
  for (double hz : {50.0, 60.0}) {
    if (rate < 2.4 * hz) continue;
    const double w = 2 * kPi * hz / rate, r = 0.985, c = std::cos(w);
    const double norm = (1 - 2 * r * c + r * r) / (2 - 2 * c);
    RunZeroPhase(x, {norm, -2 * c * norm, norm, -2 * r * c, r * r});
  }
}

void LowPass(std::vector<double>& x, double rate, double cutoffHz) {
  const double k = std::tan(kPi * std::min(cutoffHz, 0.45 * rate) / rate);
  const double q = std::sqrt(2.0), norm = 1 / (1 + q * k + k * k);
  RunZeroPhase(x, {k * k * norm, 2 * k * k * norm, k * k * norm, 2 * (k * k - 1) * norm,
                   (1 - q * k + k * k) * norm});
}

Signal Condition(const Signal& raw) {
  Signal out = raw;
  for (auto& lead : out.Leads) {
    RemoveBaseline(lead, raw.Rate);
    NotchMains(lead, raw.Rate);
    LowPass(lead, raw.Rate, 40.0);
  }
  return out;
}

}  // namespace ktx::engine
