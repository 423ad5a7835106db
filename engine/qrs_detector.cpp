#include "engine/qrs_detector.h"

#include <algorithm>
#include <cmath>

namespace ktx::engine {
namespace {

// Share of the way from the noise level to the signal level a peak must reach.
constexpr double kThresholdShare = 0.25;

// Sum over leads of the squared slope, each lead scaled by the median of its
// per-second slope maxima so that no lead dominates by its gain alone.
std::vector<double> SlopeEnergy(const Signal& s) {
  const int n = static_cast<int>(s.Length());
  const int h = std::max(1, s.Samples(0.008));
  const int block = std::max(1, s.Samples(1.0));
  std::vector<double> energy(static_cast<size_t>(n), 0.0), slope(static_cast<size_t>(n));
  for (size_t l = 0; l < s.Leads.size(); ++l) {
    const auto& x = s.Leads[l];
    const auto& gap = s.Gaps[l];
    for (int i = 0; i < n; ++i) {
      const int a = std::max(0, i - h), b = std::min(n - 1, i + h);
      const bool off = gap[static_cast<size_t>(a)] || gap[static_cast<size_t>(b)];
      slope[static_cast<size_t>(i)] =
          off ? 0.0 : x[static_cast<size_t>(b)] - x[static_cast<size_t>(a)];
    }
    std::vector<double> maxima;
    for (int start = 0; start < n; start += block) {
      double m = 0;
      for (int i = start; i < std::min(n, start + block); ++i)
        m = std::max(m, std::fabs(slope[static_cast<size_t>(i)]));
      maxima.push_back(m);
    }
    auto mid = maxima.begin() + static_cast<long>(maxima.size() / 2);
    std::nth_element(maxima.begin(), mid, maxima.end());
    if (*mid <= 1e-9) continue;  // a flat lead adds nothing
    // A lead whose background slope rises well above its usual level (muscle noise,
    // electrode motion) counts for less while it lasts.
    std::vector<double> background;
    for (int start = 0; start < n; start += block) {
      std::vector<double> part;
      for (int i = start; i < std::min(n, start + block); ++i)
        part.push_back(std::fabs(slope[static_cast<size_t>(i)]));
      auto m = part.begin() + static_cast<long>(part.size() / 2);
      std::nth_element(part.begin(), m, part.end());
      background.push_back(*m);
    }
    std::vector<double> sorted(background);
    auto usual = sorted.begin() + static_cast<long>(sorted.size() / 2);
    std::nth_element(sorted.begin(), usual, sorted.end());
    const double scale = 1.0 / (*mid * *mid);
    for (int i = 0; i < n; ++i) {
      const size_t b = static_cast<size_t>(i / block);
      double worst = background[b];
      if (b > 0) worst = std::max(worst, background[b - 1]);
      if (b + 1 < background.size()) worst = std::max(worst, background[b + 1]);
      const double excess = *usual > 0 ? std::max(1.0, worst / (2 * *usual)) : 1.0;
      energy[static_cast<size_t>(i)] +=
          slope[static_cast<size_t>(i)] * slope[static_cast<size_t>(i)] * scale / (excess * excess);
    }
  }
  return energy;
}

std::vector<double> Integrate(const std::vector<double>& e, int window) {
  const int n = static_cast<int>(e.size()), half = window / 2;
  std::vector<double> prefix(e.size() + 1, 0.0), out(e.size());
  for (size_t i = 0; i < e.size(); ++i) prefix[i + 1] = prefix[i] + e[i];
  for (int i = 0; i < n; ++i) {
    const int a = std::max(0, i - half), b = std::min(n, i + half + 1);
    out[static_cast<size_t>(i)] =
        (prefix[static_cast<size_t>(b)] - prefix[static_cast<size_t>(a)]) / window;
  }
  return out;
}

double Percentile(std::vector<double> v, double share) {
  if (v.empty()) return 0;
  auto at = v.begin() + static_cast<long>(share * static_cast<double>(v.size() - 1));
  std::nth_element(v.begin(), at, v.end());
  return *at;
}

struct Candidate {
  int Peak;
  double Height;
};

// Local maxima of the feature, at least `spacing` samples from a higher one.
std::vector<Candidate> Peaks(const std::vector<double>& f, int spacing) {
  std::vector<Candidate> peaks;
  const int n = static_cast<int>(f.size());
  for (int i = 1; i + 1 < n; ++i) {
    const double v = f[static_cast<size_t>(i)];
    if (v <= 0 || v < f[static_cast<size_t>(i - 1)] || v <= f[static_cast<size_t>(i + 1)]) continue;
    if (!peaks.empty() && i - peaks.back().Peak < spacing) {
      if (v > peaks.back().Height) peaks.back() = {i, v};
      continue;
    }
    peaks.push_back({i, v});
  }
  return peaks;
}

}  // namespace

std::vector<DetectedBeat> DetectQrs(const Signal& s, double* quality) {
  std::vector<DetectedBeat> beats;
  if (s.Length() < 3 || s.Rate <= 0) return beats;
  const std::vector<double> energy = SlopeEnergy(s);
  const int window = std::max(3, s.Samples(0.10));
  const std::vector<double> feature = Integrate(energy, window);
  const int refractory = s.Samples(0.20), tWaveZone = s.Samples(0.36);
  const std::vector<Candidate> peaks = Peaks(feature, s.Samples(0.12));
  if (peaks.empty()) return beats;

  // Learning: the first three seconds set the levels; a percentile, not the top,
  // so that one artefact does not set them.
  const int learn = std::min(static_cast<int>(feature.size()), s.Samples(3.0));
  double mean = 0;
  for (int i = 0; i < learn; ++i) mean += feature[static_cast<size_t>(i)];
  mean /= std::max(1, learn);
  std::vector<double> early;
  for (const Candidate& c : peaks)
    if (c.Peak < learn) early.push_back(c.Height);
  double signalLevel = 0.5 * Percentile(early, 0.9), noiseLevel = mean;
  double rrAverage = s.Rate;  // one second until beats say otherwise
  std::vector<int> recentRR;

  auto threshold = [&] { return noiseLevel + kThresholdShare * (signalLevel - noiseLevel); };
  // The centre of the slope energy around the peak: unlike its largest sample it
  // does not hop between the up- and downstroke of a QRS as the sampling phase moves.
  auto fiducialOf = [&](int peak) {
    const int a = std::max(0, peak - window / 2 - 1);
    const int b = std::min(static_cast<int>(energy.size()) - 1, peak + window / 2 + 1);
    double sum = 0, moment = 0;
    for (int i = a; i <= b; ++i) {
      sum += energy[static_cast<size_t>(i)];
      moment += i * energy[static_cast<size_t>(i)];
    }
    return sum > 0 ? static_cast<int>(std::lround(moment / sum)) : peak;
  };
  auto accept = [&](const Candidate& c, bool searchBack) {
    const int fid = fiducialOf(c.Peak);
    if (!beats.empty()) {
      const int rr = fid - beats.back().Fiducial;
      recentRR.push_back(rr);
      if (recentRR.size() > 8) recentRR.erase(recentRR.begin());
      double sum = 0;
      for (int v : recentRR) sum += v;
      rrAverage = sum / static_cast<double>(recentRR.size());
    }
    beats.push_back({fid, c.Height});
    const double weight = searchBack ? 0.25 : 0.125;
    // One artefact far above the beats must not lift the level out of their reach.
    signalLevel = weight * std::min(c.Height, 3 * signalLevel) + (1 - weight) * signalLevel;
  };

  int relearnedAt = 0;      // sample of the last re-learning
  size_t lastBeatPeak = 0;  // index into peaks of the last accepted candidate + 1
  for (size_t k = 0; k < peaks.size(); ++k) {
    const Candidate& c = peaks[k];
    // Search back when the pause since the last beat grows beyond 1.66 mean RR.
    if (!beats.empty() && c.Peak - beats.back().Fiducial > 1.66 * rrAverage) {
      size_t best = peaks.size();
      for (size_t j = lastBeatPeak; j < k; ++j) {
        const int since = peaks[j].Peak - beats.back().Fiducial;
        if (since < refractory || peaks[j].Height < 0.5 * threshold()) continue;
        if (best == peaks.size() || peaks[j].Height > peaks[best].Height) best = j;
      }
      if (best != peaks.size()) {
        accept(peaks[best], true);
        lastBeatPeak = best + 1;
      } else if (c.Peak - beats.back().Fiducial > std::max(2.5 * rrAverage, 2.0 * s.Rate) &&
                 c.Peak - relearnedAt > 2.0 * s.Rate) {
        // Nothing near the levels for long: learn them again from this pause and
        // look at its peaks once more.
        std::vector<double> heights;
        for (size_t j = lastBeatPeak; j <= k; ++j) heights.push_back(peaks[j].Height);
        signalLevel = 0.5 * Percentile(heights, 0.9);
        noiseLevel = std::min(noiseLevel, 0.25 * signalLevel);
        relearnedAt = c.Peak;
        k = lastBeatPeak - 1;  // the loop steps on to the first peak of the pause
        continue;
      }
    }
    if (c.Height > threshold()) {
      const int since = beats.empty() ? refractory + 1 : c.Peak - beats.back().Fiducial;
      if (since <= refractory) continue;
      // A small, late peak after a beat is taken for its T wave.
      if (!beats.empty() && since < tWaveZone && c.Height < 0.4 * beats.back().Strength) {
        noiseLevel = 0.125 * c.Height + 0.875 * noiseLevel;
        continue;
      }
      // Very early beats must stand out clearly: noise bursts put peaks anywhere.
      if (!beats.empty() && since < 0.6 * rrAverage && c.Height < 0.6 * signalLevel) {
        noiseLevel = 0.125 * c.Height + 0.875 * noiseLevel;
        continue;
      }
      accept(c, false);
      lastBeatPeak = k + 1;
    } else {
      noiseLevel = 0.125 * c.Height + 0.875 * noiseLevel;
    }
  }
  if (quality != nullptr && !beats.empty()) {
    std::vector<double> strengths, levels(feature);
    for (const DetectedBeat& beat : beats) strengths.push_back(beat.Strength);
    auto mid = strengths.begin() + static_cast<long>(strengths.size() / 2);
    std::nth_element(strengths.begin(), mid, strengths.end());
    auto level = levels.begin() + static_cast<long>(levels.size() / 2);
    std::nth_element(levels.begin(), level, levels.end());
    *quality = *level > 0 ? *mid / *level : 0.0;
  }
  return beats;
}

}  // namespace ktx::engine
