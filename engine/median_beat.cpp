#include "engine/median_beat.h"

#include <algorithm>
#include <cmath>

#include "engine/conditioning.h"
#include "engine/sample_stats.h"

namespace ktx::engine {
namespace {

// The reference beat's smoothing: never below kQuietBandHz, and just enough to leave
// about kNoiseLeftUv of noise. The Gaussian's -3 dB frequency times its sigma.
constexpr double kQuietBandHz = 50, kNoiseLeftUv = 0.5, kGaussianHalfPower = 0.1325;
// Standard deviation of Gaussian noise from its median absolute value.
constexpr double kMadToSd = 1.4826;

bool Clean(const Signal& s, int from, int to) {
  for (const auto& gap : s.Gaps)
    for (int i = from; i < to; ++i)
      if (gap[static_cast<size_t>(i)]) return false;
  return true;
}

}  // namespace

ReferenceBeat MedianBeat(const Signal& s, const std::vector<DetectedBeat>& beats,
                         const TypedBeats& types) {
  ReferenceBeat ref;
  ref.Rate = s.Rate;
  const int pre = s.Samples(kReferencePre), post = s.Samples(kReferencePost);
  const int n = static_cast<int>(s.Length());
  ref.Fiducial = pre;
  ref.Used = s.UsedLeads();
  std::vector<int> chosen, partial;
  for (size_t b = 0; b < beats.size(); ++b) {
    if (types.Types[b] != 0 || types.Premature[b]) continue;
    const int f = types.Fiducials[b];
    const int from = std::max(0, f - pre), to = std::min(n, f + post);
    if (!Clean(s, from, to)) continue;
    (f - pre >= 0 && f + post < n ? chosen : partial).push_back(f);
  }
  // Beats cut by the record's edges are used only when nothing better exists.
  if (chosen.empty()) chosen = partial;
  if (chosen.empty()) return ref;
  ref.BeatsUsed = static_cast<int>(chosen.size());
  ref.Members = chosen;
  std::vector<double> values;
  for (const auto& lead : s.Leads) {
    std::vector<double> out(static_cast<size_t>(pre + post), 0.0);
    for (int i = 0; i < pre + post; ++i) {
      values.clear();
      for (int f : chosen) {
        const int k = f - pre + i;
        if (k >= 0 && k < n) values.push_back(lead[static_cast<size_t>(k)]);
      }
      if (values.empty()) continue;
      auto mid = values.begin() + static_cast<long>(values.size() / 2);
      std::nth_element(values.begin(), mid, values.end());
      out[static_cast<size_t>(i)] = *mid;
    }
    ref.Leads.push_back(std::move(out));
  }
  return ref;
}

}  // namespace ktx::engine

namespace ktx::engine {

void SmoothToNoise(ReferenceBeat& b) {
  if (b.Leads.empty() || b.Rate <= 0) return;
  // The beat's noise: the median size of what a low-pass at kQuietBandHz takes away,
  // the median over the leads.
  std::vector<double> noise, residue;
  for (size_t l : b.Used) {
    std::vector<double> smooth = b.Leads[l];
    LowPass(smooth, b.Rate, kQuietBandHz);
    residue.clear();
    for (size_t i = 0; i < smooth.size(); ++i)
      residue.push_back(std::fabs(b.Leads[l][i] - smooth[i]));
    noise.push_back(kMadToSd * MedianInPlace(residue));
  }
  const double sd = MedianInPlace(noise);
  // White noise: what passes a cutoff grows with the square root of the band.
  const double top = 0.45 * b.Rate;
  const double cutoff = sd > 0 ? std::clamp(kQuietBandHz + (top - kQuietBandHz) * kNoiseLeftUv *
                                                               kNoiseLeftUv / (sd * sd),
                                            kQuietBandHz, top)
                               : top;
  if (cutoff >= top) return;
  // A Gaussian kernel, -3 dB at the cutoff: it has no overshoot, so a steep edge
  // spreads a little but does not ring.
  const double sigma = kGaussianHalfPower / cutoff * b.Rate;  // samples
  const int half = static_cast<int>(std::ceil(3 * sigma));
  std::vector<double> kernel;
  double sum = 0;
  for (int k = -half; k <= half; ++k) {
    kernel.push_back(std::exp(-0.5 * k * k / (sigma * sigma)));
    sum += kernel.back();
  }
  for (double& k : kernel) k /= sum;
  const int n = static_cast<int>(b.Length());
  std::vector<double> out(b.Length());
  for (auto& lead : b.Leads) {
    for (int i = 0; i < n; ++i) {
      double v = 0;
      for (int k = -half; k <= half; ++k)
        v += kernel[static_cast<size_t>(k + half)] *
             lead[static_cast<size_t>(std::clamp(i + k, 0, n - 1))];
      out[static_cast<size_t>(i)] = v;
    }
    lead.swap(out);
  }
}

}  // namespace ktx::engine
