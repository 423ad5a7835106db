#include "engine/conditioning.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ktx::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Seconds looked at for hum, how far its line must stand above the spectrum around it
// (power ratio) and how large it must be (microvolts) to be taken for hum: below that
// its velocity hides in the baseline noise.
constexpr double kMainsWindow = 4, kMainsLineRatio = 30, kMainsFromUv = 2;
// Around each QRS fiducial, the samples left out when looking for hum (seconds).
constexpr double kQrsBefore = 0.1, kQrsAfter = 0.12;

struct Biquad {
  double b0, b1, b2, a1, a2;
};

// One pass of the biquad over x from `first` towards `last` (either direction), in
// place.
template <typename It>
void RunPass(It first, It last, const Biquad& f) {
  if (first == last) return;
  // Start in the steady state of the first sample so the edge does not ring.
  const double gain = (f.b0 + f.b1 + f.b2) / (1 + f.a1 + f.a2);
  double x1 = *first, x2 = *first, y1 = *first * gain, y2 = y1;
  for (It it = first; it != last; ++it) {
    const double v = *it;
    const double y = f.b0 * v + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
    x2 = x1;
    x1 = v;
    y2 = y1;
    y1 = y;
    *it = y;
  }
}

void RunZeroPhase(std::vector<double>& x, const Biquad& f) {
  RunPass(x.begin(), x.end(), f);
  RunPass(x.rbegin(), x.rend(), f);
}

// The median of x over [i - half, i + half] (cut at the ends) for every i; the window
// is kept sorted as it slides.
std::vector<double> MedianFilter(const std::vector<double>& x, int half) {
  const int n = static_cast<int>(x.size());
  std::vector<double> out(x.size()), window;
  window.reserve(static_cast<size_t>(2 * half + 1));
  auto insert = [&](double v) {
    window.insert(std::upper_bound(window.begin(), window.end(), v), v);
  };
  for (int i = 0; i < std::min(n, half); ++i) insert(x[static_cast<size_t>(i)]);
  for (int i = 0; i < n; ++i) {
    if (i + half < n) insert(x[static_cast<size_t>(i + half)]);
    if (i - half - 1 >= 0)
      window.erase(
          std::lower_bound(window.begin(), window.end(), x[static_cast<size_t>(i - half - 1)]));
    out[static_cast<size_t>(i)] = window[window.size() / 2];
  }
  return out;
}

// Powers of `x` over [from, to) at each of `count` frequencies: Goertzel filters run
// side by side in one pass.
template <size_t count>
std::array<double, count> PowersAt(const std::vector<double>& x, size_t from, size_t to,
                                   double rate, const std::array<double, count>& hz) {
  std::array<double, count> c{}, s1{}, s2{}, power{};
  for (size_t k = 0; k < count; ++k) c[k] = 2 * std::cos(2 * kPi * hz[k] / rate);
  for (size_t i = from; i < to; ++i) {
    const double v = x[i];
    for (size_t k = 0; k < count; ++k) {
      const double s0 = v + c[k] * s1[k] - s2[k];
      s2[k] = s1[k];
      s1[k] = s0;
    }
  }
  for (size_t k = 0; k < count; ++k)
    power[k] = s1[k] * s1[k] + s2[k] * s2[k] - c[k] * s1[k] * s2[k];
  return power;
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

bool CarriesMains(const std::vector<double>& x, const std::vector<uint8_t>& skip, double rate,
                  double hz) {
  // Mains hum is one steady line (within the grid's drift); what the ECG has around it
  // is a smooth spectrum once its QRS complexes are left out. A few seconds tell: the
  // line's width, 1 / kMainsWindow, then covers the drift.
  const size_t to = std::min(x.size(), static_cast<size_t>(kMainsWindow * rate));
  std::vector<double> quiet(x.begin(), x.begin() + static_cast<long>(to));
  double counted = 0;
  for (size_t i = 0; i < to; ++i) {
    if (i < skip.size() && skip[i])
      quiet[i] = 0;
    else
      counted += 1;
  }
  if (counted < 1) return false;
  const std::array<double, 9> at = {hz,     hz - 2, hz + 2, hz - 2.5, hz + 2.5,
                                    hz - 3, hz + 3, hz - 4, hz + 4};
  std::array<double, 9> power = PowersAt(quiet, 0, to, rate, at);
  const double line = power[0];
  auto mid = power.begin() + 1 + 4;
  std::nth_element(power.begin() + 1, mid, power.end());
  const double amplitude = 2 * std::sqrt(line) / counted;
  return line > kMainsLineRatio * *mid && amplitude >= kMainsFromUv;
}

void NotchMains(std::vector<double>& x, double rate, double hz) {
  if (rate < 2.4 * hz) return;
  const double w = 2 * kPi * hz / rate, r = 0.985, c = std::cos(w);
  const double norm = (1 - 2 * r * c + r * r) / (2 - 2 * c);
  RunZeroPhase(x, {norm, -2 * c * norm, norm, -2 * r * c, r * r});
}

void LowPass(std::vector<double>& x, double rate, double cutoffHz) {
  const double k = std::tan(kPi * std::min(cutoffHz, 0.45 * rate) / rate);
  const double q = std::sqrt(2.0), norm = 1 / (1 + q * k + k * k);
  RunZeroPhase(x, {k * k * norm, 2 * k * k * norm, k * k * norm, 2 * (k * k - 1) * norm,
                   (1 - q * k + k * k) * norm});
}

void HighPass(std::vector<double>& x, double rate, double cutoffHz) {
  const double k = std::tan(kPi * std::min(cutoffHz, 0.45 * rate) / rate);
  const double q = std::sqrt(2.0), norm = 1 / (1 + q * k + k * k);
  RunZeroPhase(x, {norm, -2 * norm, norm, 2 * (k * k - 1) * norm, (1 - q * k + k * k) * norm});
}

Signal WithoutBaseline(const Signal& raw) {
  Signal out = raw;
  for (auto& lead : out.Leads) RemoveBaseline(lead, raw.Rate);
  return out;
}

Signal DetectionBand(const Signal& base, double lowPassHz) {
  Signal out = base;
  for (size_t l : out.UsedLeads()) {
    for (double hz : {50.0, 60.0}) NotchMains(out.Leads[l], base.Rate, hz);
    LowPass(out.Leads[l], base.Rate, lowPassHz);
  }
  return out;
}

Signal Condition(const Signal& raw, double lowPassHz) {
  return DetectionBand(WithoutBaseline(raw), lowPassHz);
}

void NotchWhereHum(Signal& base, const std::vector<int>& fiducials) {
  const int n = static_cast<int>(base.Length());
  std::vector<uint8_t> busy(base.Length(), 0);
  for (int f : fiducials)
    for (int i = std::max(0, f - base.Samples(kQrsBefore));
         i < std::min(n, f + base.Samples(kQrsAfter)); ++i)
      busy[static_cast<size_t>(i)] = 1;
  for (auto& lead : base.Leads)
    for (double hz : {50.0, 60.0})
      if (base.Rate >= 2.4 * hz && CarriesMains(lead, busy, base.Rate, hz))
        NotchMains(lead, base.Rate, hz);
}

}  // namespace ktx::engine
