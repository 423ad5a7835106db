#include "engine/qrs_detector.h"

#include <algorithm>
#include <cmath>

#include "engine/conditioning.h"
#include "engine/sample_stats.h"

namespace ktx::engine {
namespace {

// Share of the way from the noise level to the signal level a peak must reach.
constexpr double kThresholdShare = 0.25;
// The band that carries most of a QRS's energy: below it T waves and drift, above it
// muscle noise.
constexpr double kBandLowHz = 5, kBandHighHz = 20;
// Ectopic beats reach two to three times the usual QRS slope; beyond this it is an
// artefact.
constexpr double kJumpFactor = 3;
// A lead whose steepest slope stays under this share of its usual QRS slope carries
// no beats.
constexpr double kAliveShare = 0.25;
// A beat moves a lead by at least this share of its usual QRS slope. A second whose
// steepest slope goes beyond kOrdinaryFactor times it holds something out of the
// ordinary (an ectopic beat or an artefact), and that lead does not judge there.
constexpr double kQuietShare = 0.15, kOrdinaryFactor = 1.5;
// A peak under kForerunnerShare of the signal level that a peak kOvertakeFactor times
// its height follows within a T wave's reach gives way to it.
constexpr double kForerunnerShare = 0.7, kOvertakeFactor = 1.5;
// A peak earlier than kEarlyShare of the mean RR, weaker than the usual beat, that a
// stronger one follows between kOnTimeShare and kLateShare of the mean RR after the
// last beat is a disturbance between beats.
constexpr double kEarlyShare = 0.7, kOnTimeShare = 0.8, kLateShare = 1.25;
constexpr double kRelearnFloor = 0.25;

// One lead's slope in the QRS band and, per second, its largest and its median size.
struct LeadSlope {
  std::vector<double> Slope, Maxima, Background;
  double TypicalMax = 0, Usual = 0;
};

LeadSlope SlopeOf(const Signal& s, size_t l, int h, int block) {
  const int n = static_cast<int>(s.Length());
  LeadSlope out;
  std::vector<double> x = s.Leads[l];
  HighPass(x, s.Rate, kBandLowHz);
  LowPass(x, s.Rate, kBandHighHz);
  const auto& gap = s.Gaps[l];
  out.Slope.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int a = std::max(0, i - h), b = std::min(n - 1, i + h);
    const bool off = gap[static_cast<size_t>(a)] || gap[static_cast<size_t>(b)];
    out.Slope[static_cast<size_t>(i)] =
        off ? 0.0 : x[static_cast<size_t>(b)] - x[static_cast<size_t>(a)];
  }
  std::vector<double> part;
  for (int start = 0; start < n; start += block) {
    part.clear();
    for (int i = start; i < std::min(n, start + block); ++i)
      part.push_back(std::fabs(out.Slope[static_cast<size_t>(i)]));
    out.Maxima.push_back(*std::max_element(part.begin(), part.end()));
    out.Background.push_back(Median(part));
  }
  out.TypicalMax = Median(out.Maxima);
  out.Usual = Median(out.Background);
  return out;
}

// How much less a lead counts where its steepest slope is `jump` times its usual QRS
// slope: by the square beyond kJumpFactor, so that the largest artefacts count least.
double JumpWeight(double jump) {
  const double beyond = std::max(1.0, jump / kJumpFactor);
  return beyond * beyond;
}

struct LeadView {
  std::vector<double> Normalised;
  std::vector<bool> Usable;  // per block
  int Block = 1;
  // How far its QRS slopes stand above its background, less where some seconds have
  // slopes well beyond the usual ones (artefacts that look like beats).
  double Reliability = 0;
};

// Sum over leads of the squared slope, each lead scaled by the median of its
// per-second slope maxima so that no lead dominates by its gain alone, and weighted
// by how far its QRS slopes stand above its background: a lead full of tremor or
// muscle noise has maxima barely above its median and would only add false beats.
std::vector<double> SlopeEnergy(const Signal& s, std::vector<LeadView>* views) {
  const int n = static_cast<int>(s.Length());
  const int h = std::max(1, s.Samples(0.008));
  const int block = std::max(1, s.Samples(1.0));
  std::vector<LeadSlope> leads;
  std::vector<double> contrast;
  double best = 0;
  for (size_t l : s.UsedLeads()) {
    leads.push_back(SlopeOf(s, l, h, block));
    const LeadSlope& ls = leads.back();
    const double c = ls.Usual > 0 ? ls.TypicalMax / ls.Usual : (ls.TypicalMax > 0 ? 1e9 : 0);
    contrast.push_back(c);
    best = std::max(best, c);
  }
  std::vector<double> energy(static_cast<size_t>(n), 0.0);
  const size_t blocks = static_cast<size_t>((n + block - 1) / block);
  std::vector<double> full(blocks, 0.0), counted(blocks, 0.0);
  std::vector<std::vector<double>> weights(leads.size());
  for (size_t l = 0; l < leads.size(); ++l) {
    const LeadSlope& ls = leads[l];
    if (ls.TypicalMax <= 1e-9) continue;  // a flat lead adds nothing
    const double relative = contrast[l] / best;
    const double scale = relative * relative / (ls.TypicalMax * ls.TypicalMax);
    // A lead whose background slope rises well above its usual level (muscle noise)
    // or whose steepest slope jumps far beyond any QRS (electrode motion, an amplifier
    // driven to its rail) counts for less while it lasts.
    std::vector<double>& weight = weights[l];
    weight.assign(blocks, 0.0);
    for (size_t b = 0; b < blocks; ++b) {
      double worst = ls.Background[b];
      if (b > 0) worst = std::max(worst, ls.Background[b - 1]);
      if (b + 1 < ls.Background.size()) worst = std::max(worst, ls.Background[b + 1]);
      double jump = ls.Maxima[b];
      if (b > 0) jump = std::max(jump, ls.Maxima[b - 1]);
      if (b + 1 < ls.Maxima.size()) jump = std::max(jump, ls.Maxima[b + 1]);
      const double excess = (ls.Usual > 0 ? std::max(1.0, worst / (2 * ls.Usual)) : 1.0) *
                            JumpWeight(jump / ls.TypicalMax);
      weight[b] = 1 / (excess * excess);
      full[b] += relative * relative;
      // A lead gone flat (off, or held at its rail) counts for nothing here.
      if (jump >= kAliveShare * ls.TypicalMax) counted[b] += relative * relative;
    }
    for (int i = 0; i < n; ++i) {
      const double v = ls.Slope[static_cast<size_t>(i)];
      energy[static_cast<size_t>(i)] += v * v * scale * weight[static_cast<size_t>(i / block)];
    }
  }
  // Each lead's slope in units of its usual QRS slope, and the seconds in which it is
  // undisturbed and alive enough to say whether a beat shows in it.
  views->clear();
  for (size_t l = 0; l < leads.size() && leads.size() > 1; ++l) {
    const LeadSlope& ls = leads[l];
    if (ls.TypicalMax <= 1e-9) continue;
    LeadView view;
    view.Block = block;
    view.Reliability =
        contrast[l] * ls.TypicalMax / std::max(ls.TypicalMax, Percentile(ls.Maxima, 0.9));
    for (size_t k = 0; k < blocks; ++k)
      view.Usable.push_back(weights[l][k] >= 1 && ls.Maxima[k] >= kAliveShare * ls.TypicalMax &&
                            ls.Maxima[k] <= kOrdinaryFactor * ls.TypicalMax);
    view.Normalised.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      view.Normalised[static_cast<size_t>(i)] =
          std::fabs(ls.Slope[static_cast<size_t>(i)]) / ls.TypicalMax;
    views->push_back(std::move(view));
  }
  // Where leads go flat, the others stand in for them, so that beats keep their usual
  // height against the detector's levels.
  for (int i = 0; i < n; ++i) {
    const size_t b = static_cast<size_t>(i / block);
    if (counted[b] > 0) energy[static_cast<size_t>(i)] *= full[b] / counted[b];
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

// A QRS moves the most reliable of the leads that can tell; an electrode knock or a
// cable tug in another lead does not.
bool ShowsInMostReliableLead(const std::vector<LeadView>& views, int peak, int window) {
  const LeadView* pick = nullptr;
  for (const LeadView& v : views) {
    const int n = static_cast<int>(v.Normalised.size());
    if (!v.Usable[static_cast<size_t>(std::clamp(peak, 0, n - 1) / v.Block)]) continue;
    if (pick == nullptr || v.Reliability > pick->Reliability) pick = &v;
  }
  if (pick == nullptr) return true;
  const int n = static_cast<int>(pick->Normalised.size());
  double most = 0;
  for (int i = std::max(0, peak - window); i <= std::min(n - 1, peak + window); ++i)
    most = std::max(most, pick->Normalised[static_cast<size_t>(i)]);
  return most >= kQuietShare;
}

}  // namespace

std::vector<DetectedBeat> DetectQrs(const Signal& s, double* quality) {
  std::vector<DetectedBeat> beats;
  if (s.Length() < 3 || s.Rate <= 0) return beats;
  std::vector<LeadView> views;
  const std::vector<double> energy = SlopeEnergy(s, &views);
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
        if (!ShowsInMostReliableLead(views, peaks[j].Peak, window)) continue;
        if (best == peaks.size() || peaks[j].Height > peaks[best].Height) best = j;
      }
      if (best != peaks.size()) {
        accept(peaks[best], true);
        lastBeatPeak = best + 1;
      } else if (c.Peak - beats.back().Fiducial > std::max(2.5 * rrAverage, 2.0 * s.Rate) &&
                 c.Peak - relearnedAt > 2.0 * s.Rate) {
        // Nothing near the levels for long: learn them again from this pause and
        // look at its peaks once more.
        // A real pause holds P and T waves and noise only: the level may fall, but by
        // at most kRelearnFloor at a time, or those would pass for beats.
        std::vector<double> heights;
        for (size_t j = lastBeatPeak; j <= k; ++j) heights.push_back(peaks[j].Height);
        signalLevel = std::max(0.5 * Percentile(heights, 0.9), kRelearnFloor * signalLevel);
        noiseLevel = std::min(noiseLevel, 0.25 * signalLevel);
        relearnedAt = c.Peak;
        k = lastBeatPeak - 1;  // the loop steps on to the first peak of the pause
        continue;
      }
    }
    if (c.Height > threshold() && ShowsInMostReliableLead(views, c.Peak, window)) {
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
      // A weak peak followed, within a T wave's reach, by one far stronger is the
      // forerunner of that beat (its P wave, a noise burst), not a beat of its own:
      // taken, it would make the real QRS look like its T wave.
      if (c.Height < kForerunnerShare * signalLevel) {
        bool overtaken = false;
        for (size_t j = k + 1; j < peaks.size() && peaks[j].Peak - c.Peak < tWaveZone; ++j)
          overtaken = overtaken || peaks[j].Height > kOvertakeFactor * c.Height;
        if (overtaken) continue;
      }
      // An early peak weaker than the usual beat, after which the rhythm goes on as
      // if it had not been there (the next beat due about one interval after the
      // last), is a disturbance between two beats; a premature beat resets the
      // rhythm or is followed by a pause.
      if (!beats.empty() && since < kEarlyShare * rrAverage && c.Height < signalLevel) {
        const int last = beats.back().Fiducial;
        // Only the next strong peak counts: in a run of early beats it is the next one.
        bool bypassed = false;
        for (size_t j = k + 1; j < peaks.size() && peaks[j].Peak - last < kLateShare * rrAverage;
             ++j) {
          if (peaks[j].Height <= threshold() || peaks[j].Peak - c.Peak <= refractory) continue;
          bypassed = peaks[j].Peak - last > kOnTimeShare * rrAverage && peaks[j].Height > c.Height;
          break;
        }
        if (bypassed) continue;
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
