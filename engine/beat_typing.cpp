#include "engine/beat_typing.h"

#include <algorithm>
#include <cmath>

#include "engine/sample_stats.h"

namespace ktx::engine {
namespace {

constexpr size_t kMaxGroups = 8;
// The QRS window beats are compared over, seconds around the fiducial.
constexpr double kWindowBefore = 0.08, kWindowAfter = 0.12;
// Pacemaker spikes: a step within kSpikeRise at least kSpikeOverSteep times the lead's
// kSteepShare percentile of such steps (its QRS upstrokes) and kSpikeMinUv, turning
// back by kSpikeReturnShare of its height within kSpikeReturn.
constexpr double kSpikeRise = 0.001, kSteepShare = 0.98, kSpikeOverSteep = 4, kSpikeMinUv = 300;
constexpr double kSpikeReturn = 0.006, kSpikeReturnShare = 0.3;
// How long a pacing pulse's step takes to decay through a recorder's high-pass.
constexpr double kSpikeDecay = 0.01;

std::vector<double> QrsWindow(const Signal& s, const std::vector<size_t>& leads, int fiducial) {
  const int pre = s.Samples(kWindowBefore), post = s.Samples(kWindowAfter);
  const int n = static_cast<int>(s.Length());
  std::vector<double> w;
  for (size_t l : leads)
    for (int i = fiducial - pre; i <= fiducial + post; ++i)
      w.push_back(s.Leads[l][static_cast<size_t>(std::clamp(i, 0, n - 1))]);
  return w;
}

struct Group {
  std::vector<double> Template;
  int Members = 0;
};

}  // namespace

TypedBeats TypeBeats(const Signal& s, const std::vector<DetectedBeat>& beats) {
  TypedBeats out;
  out.Types.assign(beats.size(), kUnclassified);
  out.Premature.assign(beats.size(), false);
  std::vector<Group> groups;
  std::vector<int> group(beats.size(), -1);
  const int reach = std::max(1, s.Samples(0.015));
  const std::vector<size_t> leads = s.UsedLeads();
  out.Fiducials.resize(beats.size());
  for (size_t b = 0; b < beats.size(); ++b) {
    const int fid = beats[b].Fiducial;
    std::vector<std::vector<double>> shifted;
    for (int shift = -reach; shift <= reach; ++shift)
      shifted.push_back(QrsWindow(s, leads, fid + shift));
    int best = -1, bestShift = 0;
    double bestCorr = 0.85;
    for (size_t g = 0; g < groups.size(); ++g) {
      for (int shift = -reach; shift <= reach; ++shift) {
        const std::vector<double>& w = shifted[static_cast<size_t>(shift + reach)];
        const double ratio = Energy(w) / std::max(1e-9, Energy(groups[g].Template));
        if (ratio < 0.35 || ratio > 2.9) continue;
        const double c = Correlation(w, groups[g].Template);
        if (c > bestCorr) {
          bestCorr = c;
          best = static_cast<int>(g);
          bestShift = shift;
        }
      }
    }
    // A beat the record's edge cuts may join a shape but does not found one: its
    // window is not its own.
    const bool whole = fid - reach - s.Samples(kWindowBefore) >= 0 &&
                       fid + reach + s.Samples(kWindowAfter) < static_cast<int>(s.Length());
    if (best < 0 && whole && groups.size() < kMaxGroups) {
      groups.push_back({shifted[static_cast<size_t>(reach)], 0});
      best = static_cast<int>(groups.size() - 1);
      bestShift = 0;
    }
    out.Fiducials[b] = fid + bestShift;
    if (best < 0) continue;
    const std::vector<double>& w = shifted[static_cast<size_t>(bestShift + reach)];
    Group& g = groups[static_cast<size_t>(best)];
    ++g.Members;
    // A running template that follows slow changes of shape.
    const double k = 1.0 / std::min(g.Members, 16);
    for (size_t i = 0; i < w.size(); ++i) g.Template[i] += k * (w[i] - g.Template[i]);
    group[b] = best;
  }
  // Groups numbered by size: the largest is the dominant type 0.
  std::vector<size_t> order(groups.size());
  for (size_t g = 0; g < order.size(); ++g) order[g] = g;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return groups[a].Members > groups[b].Members; });
  std::vector<int> rank(groups.size());
  for (size_t r = 0; r < order.size(); ++r) rank[order[r]] = static_cast<int>(r);
  for (size_t b = 0; b < beats.size(); ++b)
    if (group[b] >= 0) out.Types[b] = rank[static_cast<size_t>(group[b])];
  out.GroupCount = static_cast<int>(groups.size());
  out.DominantCount = groups.empty() ? 0 : groups[order[0]].Members;

  // Prematurity against the mean of the last four dominant-to-dominant intervals.
  std::vector<int> recent;
  for (size_t b = 1; b < beats.size(); ++b) {
    const int rr = out.Fiducials[b] - out.Fiducials[b - 1];
    if (out.Types[b] == 0 && out.Types[b - 1] == 0) {
      if (recent.size() >= 2) {
        double mean = 0;
        for (int v : recent) mean += v;
        mean /= static_cast<double>(recent.size());
        const bool longPauseAfter =
            b + 1 >= beats.size() || out.Fiducials[b + 1] - out.Fiducials[b] > 1.1 * rr;
        if (rr < 0.8 * mean && longPauseAfter) {
          out.Premature[b] = true;
          continue;
        }
      }
      recent.push_back(rr);
      if (recent.size() > 4) recent.erase(recent.begin());
    }
  }
  return out;
}

std::vector<int> CountPacemakerSpikes(const Signal& raw, const std::vector<size_t>& leads) {
  const int n = static_cast<int>(raw.Length());
  const int step = std::max(1, raw.Samples(kSpikeRise));
  const int back = std::max(step + 1, raw.Samples(kSpikeReturn));
  const int merge = raw.Samples(0.05);
  std::vector<int> found;
  std::vector<double> changes;
  for (size_t l : leads) {
    const std::vector<double>& x = raw.Leads[l];
    const std::vector<uint8_t>& gap = raw.Gaps[l];
    changes.clear();
    for (int i = step; i < n; ++i)
      changes.push_back(std::fabs(x[static_cast<size_t>(i)] - x[static_cast<size_t>(i - step)]));
    if (changes.empty()) continue;
    auto at =
        changes.begin() + static_cast<long>(kSteepShare * static_cast<double>(changes.size() - 1));
    std::nth_element(changes.begin(), at, changes.end());
    const double least = std::max(kSpikeMinUv, kSpikeOverSteep * *at);
    for (int i = step; i + back < n; ++i) {
      const size_t k = static_cast<size_t>(i);
      if (gap[k] || gap[k - static_cast<size_t>(step)]) continue;
      const double jump = x[k] - x[k - static_cast<size_t>(step)];
      if (std::fabs(jump) < least) continue;
      // A pacing pulse turns back at once (bipolar) or decays through the
      // recorder's high-pass (unipolar); a QRS this steep would go on.
      double turned = 0;
      for (int j = 1; j <= back; ++j) {
        const double v = x[k + static_cast<size_t>(j)] - x[k];
        turned = std::max(turned, jump > 0 ? -v : v);
      }
      if (turned < kSpikeReturnShare * std::fabs(jump)) continue;
      found.push_back(i);
      i += back;
    }
  }
  std::sort(found.begin(), found.end());
  std::vector<int> spikes;
  for (int i : found)
    if (spikes.empty() || i - spikes.back() > merge) spikes.push_back(i);
  return spikes;
}

void BridgeSpikes(Signal& s, const std::vector<int>& spikes) {
  const int n = static_cast<int>(s.Length());
  const int before = std::max(1, s.Samples(kSpikeRise)), after = s.Samples(kSpikeDecay);
  for (int spike : spikes) {
    const int a = std::max(0, spike - before), b = std::min(n - 1, spike + after);
    for (auto& x : s.Leads) {
      const double from = x[static_cast<size_t>(a)], to = x[static_cast<size_t>(b)];
      for (int i = a + 1; i < b; ++i)
        x[static_cast<size_t>(i)] = from + (to - from) * (i - a) / (b - a);
    }
  }
}

}  // namespace ktx::engine
