#include "engine/delineation.h"

#include <algorithm>
#include <cmath>

#include "engine/findings.h"
#include "engine/knee_fit.h"
#include "engine/lobe_fit.h"
#include "engine/sample_stats.h"

namespace ktx::engine {
namespace {

// The QRS spans the velocities (differences over kVelocitySpan) above kAboveBaseline
// times the baseline's (its kBaselineShare percentile over the beat, at least
// kFloorOfPeak of the peak) and above kQrsShare of its peak, gaps shorter than
// kQrsHold bridged. Its edges lie on the knees fitted within kKneeReach outside and
// kKneeInside inside that span, where the velocity has risen kOnsetRise times (fallen
// to kOffsetFall times) the fitted baseline, or by kOnsetScatter (kOffsetScatter)
// times that baseline's own scatter where that is more: the end of the QRS is taken
// a little more firmly than its start, as slurred terminal forces fade into the ST
// segment. P and T on a velocity smoothed over 20 ms, against 1.5 times the beat's
// median velocity.
constexpr double kBaselineShare = 0.1, kFloorOfPeak = 0.0075, kAboveBaseline = 4, kQrsShare = 0.03;
constexpr double kQrsHold = 0.016, kKneeReach = 0.045, kKneeInside = 0.01;
constexpr double kOnsetRise = 1.25, kOffsetFall = 2.5, kOnsetScatter = 1.5, kOffsetScatter = 2;
constexpr double kVelocitySpan = 0.001;
constexpr double kSlowSmoothing = 0.02, kNoiseFactor = 1.5, kPShare = 0.38;
constexpr int kPowerIterations = 20;
// The T wave ends where the velocity of its last limb has fallen under kTEndShare of
// its steepest and kTEndAboveBaseline times the baseline's, and before the next beat's
// P wave: at most kLongestPR ahead of the next QRS, or its P onset once that is known.
constexpr double kTEndShare = 0.3, kTEndAboveBaseline = 2, kLongestPR = 0.2;
// A lead's own T end is measured where its T wave reaches this size (microvolts).
constexpr double kLeadTFrom = 100;

std::vector<double> SpatialVelocity(const ReferenceBeat& b, int smooth) {
  const int n = static_cast<int>(b.Length());
  std::vector<double> sum(static_cast<size_t>(n), 0.0);
  std::vector<double> d(static_cast<size_t>(n)), prefix(static_cast<size_t>(n) + 1);
  for (size_t l : b.Used) {
    const std::vector<double>& x = b.Leads[l];
    for (int i = 0; i < n; ++i) {
      const int a = std::max(0, i - 1), c = std::min(n - 1, i + 1);
      d[static_cast<size_t>(i)] =
          (x[static_cast<size_t>(c)] - x[static_cast<size_t>(a)]) / std::max(1, c - a);
    }
    prefix[0] = 0;
    for (int i = 0; i < n; ++i)
      prefix[static_cast<size_t>(i) + 1] =
          prefix[static_cast<size_t>(i)] + d[static_cast<size_t>(i)];
    const int half = smooth / 2;
    for (int i = 0; i < n; ++i) {
      const int a = std::max(0, i - half), c = std::min(n, i + half + 1);
      const double v = (prefix[static_cast<size_t>(c)] - prefix[static_cast<size_t>(a)]) / (c - a);
      sum[static_cast<size_t>(i)] += v * v;
    }
  }
  const double perSecond = b.Rate;
  for (double& v : sum) v = std::sqrt(v) * perSecond;  // microvolts per second
  return sum;
}

int ArgMax(const std::vector<double>& v, int from, int to) {
  int best = from;
  for (int i = from; i <= to; ++i)
    if (v[static_cast<size_t>(i)] > v[static_cast<size_t>(best)]) best = i;
  return best;
}

// Walks from `start` in `step` direction until `v` stays below `limit` for `hold`
// samples; answers the last sample at or above it (or the bound).
int WalkOut(const std::vector<double>& v, int start, int step, double limit, int hold, int bound) {
  int last = start, below = 0;
  for (int i = start; step > 0 ? i <= bound : i >= bound; i += step) {
    if (v[static_cast<size_t>(i)] >= limit) {
      last = i;
      below = 0;
    } else if (++below >= hold) {
      break;
    }
  }
  return last;
}

// Envelope of the deflection from the PR level, all leads together.
std::vector<double> Envelope(const ReferenceBeat& b, const std::vector<double>& level) {
  std::vector<double> e(b.Length(), 0.0);
  for (size_t l : b.Used)
    for (size_t i = 0; i < e.size(); ++i) {
      const double v = b.Leads[l][i] - level[l];
      e[i] += v * v;
    }
  for (double& v : e) v = std::sqrt(v);
  return e;
}

// The P wave as one lobe along its own direction: every lead's deflection at the peak
// gives the direction, the beat projected on it the one signal the lobe is fitted to.
FittedLobe FitP(const ReferenceBeat& b, const std::vector<double>& level, int peak, int from,
                int to) {
  auto at = [&](double seconds) { return static_cast<int>(std::lround(seconds * b.Rate)); };
  const int n = static_cast<int>(b.Length());
  const int a = std::max(0, peak - at(0.01)), c = std::min(n - 1, peak + at(0.01));
  std::vector<double> direction(b.Leads.size(), 0.0);
  double norm = 0;
  for (size_t l = 0; l < b.Leads.size(); ++l) {
    for (int i = a; i <= c; ++i) direction[l] += b.Leads[l][static_cast<size_t>(i)] - level[l];
    norm += direction[l] * direction[l];
  }
  if (norm <= 0) return {};
  {
    // The P wave's main direction over its whole window (power iteration on the
    // leads' covariance, started from the peak's): a P wave whose parts point apart
    // (a biphasic V1) is then followed over its whole length, not from its peak on.
    for (int iteration = 0; iteration < kPowerIterations; ++iteration) {
      std::vector<double> next(direction.size(), 0.0);
      for (int i = from; i <= to; ++i) {
        double p = 0;
        for (size_t l = 0; l < b.Leads.size(); ++l)
          p += direction[l] * (b.Leads[l][static_cast<size_t>(i)] - level[l]);
        for (size_t l = 0; l < b.Leads.size(); ++l)
          next[l] += p * (b.Leads[l][static_cast<size_t>(i)] - level[l]);
      }
      double m = 0;
      for (double v : next) m += v * v;
      if (m <= 0) break;
      m = std::sqrt(m);
      for (size_t l = 0; l < next.size(); ++l) direction[l] = next[l] / m;
    }
    norm = 0;
    for (double v : direction) norm += v * v;
  }
  norm = std::sqrt(norm);
  std::vector<double> y(b.Length(), 0.0);
  for (size_t l = 0; l < b.Leads.size(); ++l)
    for (size_t i = 0; i < y.size(); ++i) y[i] += direction[l] / norm * (b.Leads[l][i] - level[l]);
  LobeSearch search;
  search.From = from;
  search.To = to;
  search.Peak = peak;
  search.MinLength = std::max(3, at(0.04));
  search.MaxLength = std::min(to - from, at(0.2));
  search.Step = std::max(1, at(0.002));
  return FitLobe(y, search);
}

}  // namespace

Delineation Delineate(const ReferenceBeat& b, double rrSeconds) {
  Delineation d;
  const int n = static_cast<int>(b.Length());
  if (n < 10 || b.Leads.empty()) return d;
  auto at = [&](double seconds) { return static_cast<int>(std::lround(seconds * b.Rate)); };
  const std::vector<double> sv = SpatialVelocity(b, std::max(1, at(kVelocitySpan)));

  // QRS: outwards from the steepest point near the fiducial as long as the velocity
  // stands clearly above the baseline's, gaps shorter than `hold` bridged (a notch, the
  // turn between S and R'); then each edge where the velocity leaves the baseline's.
  const int f = b.Fiducial;
  const int peak = ArgMax(sv, std::max(1, f - at(0.06)), std::min(n - 2, f + at(0.06)));
  const double top = sv[static_cast<size_t>(peak)];
  const double baseline = std::max(Percentile(sv, kBaselineShare), kFloorOfPeak * top);
  const double qrsLimit = std::max(kQrsShare * top, kAboveBaseline * baseline);
  const int hold = std::max(2, at(kQrsHold));
  const int outerOn = WalkOut(sv, peak, -1, qrsLimit, hold, std::max(0, peak - at(0.12)));
  const int outerOff = WalkOut(sv, peak, +1, qrsLimit, hold, std::min(n - 1, peak + at(0.16)));
  std::vector<double> logSv(sv.size());
  for (size_t i = 0; i < sv.size(); ++i) logSv[i] = std::log(std::max(sv[i], 0.5 * baseline));
  d.QrsOnset = WaveEdge(logSv, outerOn - at(kKneeReach), outerOn + at(kKneeInside), outerOn, true,
                        kOnsetRise, kOnsetScatter);
  d.QrsOffset = WaveEdge(logSv, outerOff - at(kKneeInside), outerOff + at(kKneeReach), outerOff,
                         false, kOffsetFall, kOffsetScatter);

  // The PR level of every lead, just ahead of the QRS.
  std::vector<double> level(b.Leads.size(), 0.0);
  const int l0 = std::max(0, d.QrsOnset - at(0.02)), l1 = std::max(l0 + 1, d.QrsOnset - at(0.005));
  for (size_t l = 0; l < b.Leads.size(); ++l) {
    for (int i = l0; i < l1; ++i) level[l] += b.Leads[l][static_cast<size_t>(i)];
    level[l] /= (l1 - l0);
  }
  const std::vector<double> envelope = Envelope(b, level);
  const std::vector<double> slowSv = SpatialVelocity(b, std::max(1, at(kSlowSmoothing)));
  const double slowNoise = Percentile(slowSv, 0.5);
  double envelopeNoise = 0;
  {
    // Sample-to-sample scatter of the flat parts stands for the residual noise.
    std::vector<double> diffs;
    for (const auto& x : b.Leads)
      for (int i = 1; i < n; ++i)
        diffs.push_back(std::fabs(x[static_cast<size_t>(i)] - x[static_cast<size_t>(i - 1)]));
    envelopeNoise = Percentile(diffs, 0.5) * std::sqrt(static_cast<double>(b.Leads.size()));
  }

  // T: the largest deflection after the ST segment; its end where the velocity of its
  // last limb meets the baseline (a knee, as for the QRS), and never in the next beat.
  const double qtLimit = rrSeconds > 0 ? std::min(0.62, 0.9 * rrSeconds) : 0.62;
  const int t0 = d.QrsOffset + at(0.06);
  const int t1 = std::min(n - 2, d.QrsOnset + at(qtLimit));
  // Before the next beat's P wave can start: its QRS less the longest usual PR.
  const int nextBeat = rrSeconds > 0 ? d.QrsOnset + at(rrSeconds) : n - 1;
  const int tBound = std::min(n - 1, std::max(t1, nextBeat - at(kLongestPR)));
  const double slowBase = Percentile(slowSv, kBaselineShare);
  int tFall = -1;  // the steepest point of the T wave's last limb
  auto tEnd = [&](int bound) {
    const double limit =
        std::max(kTEndShare * slowSv[static_cast<size_t>(tFall)], kTEndAboveBaseline * slowBase);
    return WalkOut(slowSv, tFall, +1, limit, std::max(2, at(0.02)), bound);
  };
  if (t1 > t0 + at(0.04)) {
    d.TPeak = ArgMax(envelope, t0, t1);
    const double height = envelope[static_cast<size_t>(d.TPeak)];
    if (height > std::max(30.0, 6 * envelopeNoise)) {
      tFall = ArgMax(slowSv, d.TPeak, std::min(t1, d.TPeak + at(0.2)));
      d.TOffset = tEnd(tBound);
      d.HasT = true;
    }
  }

  // P: the largest deflection in the 300 ms before the QRS, after the T wave of the
  // beat before.
  const int p1 = d.QrsOnset - at(0.03);
  int p0 = std::max(1, d.QrsOnset - at(0.33));
  if (rrSeconds > 0 && d.HasT) p0 = std::max(p0, d.TOffset - at(rrSeconds) + at(0.02));
  if (p1 > p0 + at(0.04)) {
    const int pPeak = ArgMax(envelope, p0, p1);
    const double height = envelope[static_cast<size_t>(pPeak)];
    if (height > std::max(20.0, 6 * envelopeNoise) && pPeak > p0 && pPeak < p1) {
      const FittedLobe lobe = FitP(b, level, pPeak, p0, d.QrsOnset - at(0.01));
      if (lobe.Onset >= 0) {
        d.POnset = lobe.Onset;
        d.POffset = lobe.Offset;
        d.HasP = true;
        // The T wave ends before the next P wave begins.
        if (rrSeconds > 0 && d.HasT && d.TOffset > d.POnset + at(rrSeconds))
          d.TOffset = tEnd(std::max(tFall + 1, d.POnset + at(rrSeconds)));
        return d;
      }
      const int rise = ArgMax(slowSv, std::max(1, pPeak - at(0.08)), pPeak);
      const int fall = ArgMax(slowSv, pPeak, std::min(d.QrsOnset - 1, pPeak + at(0.08)));
      const double riseLimit =
          std::max(kPShare * slowSv[static_cast<size_t>(rise)], kNoiseFactor * slowNoise);
      const double fallLimit =
          std::max(kPShare * slowSv[static_cast<size_t>(fall)], kNoiseFactor * slowNoise);
      const int holdP = std::max(2, at(0.012));
      d.POnset = WalkOut(slowSv, rise, -1, riseLimit, holdP, std::max(0, pPeak - at(0.15)));
      d.POffset = WalkOut(slowSv, fall, +1, fallLimit, holdP, d.QrsOnset - 1);
      d.HasP = d.POffset > d.POnset;
    }
  }
  return d;
}

LeadWaves DelineateLead(const ReferenceBeat& b, size_t lead, const Delineation& d) {
  LeadWaves w{d.QrsOnset, d.QrsOffset, d.TOffset};
  const int n = static_cast<int>(b.Length());
  if (lead >= b.Leads.size() || d.QrsOnset < 1 || d.QrsOffset >= n - 1) return w;
  auto at = [&](double seconds) { return static_cast<int>(std::lround(seconds * b.Rate)); };
  const std::vector<double>& x = b.Leads[lead];
  // The lead's velocity, as the spatial one is made of the leads' velocities.
  const int k = std::max(1, at(kVelocitySpan));
  std::vector<double> v(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    const int a = std::max(0, i - k), c = std::min(n - 1, i + k);
    v[static_cast<size_t>(i)] = std::fabs(x[static_cast<size_t>(c)] - x[static_cast<size_t>(a)]) /
                                std::max(1, c - a) * b.Rate;
  }
  const int peak = ArgMax(v, d.QrsOnset, d.QrsOffset);
  const double top = v[static_cast<size_t>(peak)];
  const double baseline = std::max(Percentile(v, kBaselineShare), kFloorOfPeak * top);
  if (top <= 0) return w;
  const double limit = std::max(kQrsShare * top, kAboveBaseline * baseline);
  const int hold = std::max(2, at(kQrsHold));
  const int outerOn = WalkOut(v, peak, -1, limit, hold, d.QrsOnset);
  const int outerOff = WalkOut(v, peak, +1, limit, hold, d.QrsOffset);
  std::vector<double> logV(v.size());
  for (size_t i = 0; i < v.size(); ++i) logV[i] = std::log(std::max(v[i], 0.5 * baseline));
  w.QrsOnset =
      std::max(d.QrsOnset, WaveEdge(logV, outerOn - at(kKneeReach), outerOn + at(kKneeInside),
                                    outerOn, true, kOnsetRise, kOnsetScatter));
  w.QrsOffset =
      std::min(d.QrsOffset, WaveEdge(logV, outerOff - at(kKneeInside), outerOff + at(kKneeReach),
                                     outerOff, false, kOffsetFall, kOffsetScatter));
  // T end: where the lead's own T wave has a body to end; else the global one.
  if (!d.HasT || d.TOffset <= d.QrsOffset) return w;
  const int from = d.QrsOffset + at(0.06);
  if (from >= d.TOffset) return w;
  const double level = x[static_cast<size_t>(d.QrsOnset)];
  int tPeak = from;
  for (int i = from; i <= d.TOffset; ++i)
    if (std::fabs(x[static_cast<size_t>(i)] - level) >
        std::fabs(x[static_cast<size_t>(tPeak)] - level))
      tPeak = i;
  if (std::fabs(x[static_cast<size_t>(tPeak)] - level) < kLeadTFrom) return w;
  const int smooth = std::max(1, at(kSlowSmoothing)) / 2;
  std::vector<double> slow(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    const int a = std::max(0, i - smooth - 1), c = std::min(n - 1, i + smooth + 1);
    slow[static_cast<size_t>(i)] =
        std::fabs(x[static_cast<size_t>(c)] - x[static_cast<size_t>(a)]) / (c - a) * b.Rate;
  }
  const int fall = ArgMax(slow, tPeak, std::min(d.TOffset, tPeak + at(0.2)));
  const double tLimit = std::max(kTEndShare * slow[static_cast<size_t>(fall)],
                                 kTEndAboveBaseline * Percentile(slow, kBaselineShare));
  w.TOffset =
      std::min(d.TOffset, WalkOut(slow, fall, +1, tLimit, std::max(2, at(0.02)), d.TOffset));
  return w;
}

FrontalAxes Axes(const ReferenceBeat& b, const std::vector<uint16_t>& codes, const Delineation& d) {
  FrontalAxes axes{kAxisUndefined, kAxisUndefined, kAxisUndefined};
  auto find = [&](uint16_t code) -> const std::vector<double>* {
    for (size_t l = 0; l < codes.size() && l < b.Leads.size(); ++l)
      if (codes[l] == code) return &b.Leads[l];
    return nullptr;
  };
  const std::vector<double>* leadI = find(1);
  const std::vector<double>* leadII = find(2);
  const std::vector<double>* leadAvf = find(64);
  if (leadI == nullptr || (leadII == nullptr && leadAvf == nullptr)) return axes;
  const int base0 = std::max(0, d.QrsOnset - static_cast<int>(0.02 * b.Rate));
  auto baseOf = [&](const std::vector<double>& x) {
    double s = 0;
    for (int i = base0; i < std::max(base0 + 1, d.QrsOnset); ++i) s += x[static_cast<size_t>(i)];
    return s / std::max(1, d.QrsOnset - base0);
  };
  auto axis = [&](int from, int to) {
    double areaI = 0, areaF = 0;
    const double bI = baseOf(*leadI), bII = leadII ? baseOf(*leadII) : 0;
    const double bF = leadAvf ? baseOf(*leadAvf) : 0;
    for (int i = from; i <= to; ++i) {
      const double vI = (*leadI)[static_cast<size_t>(i)] - bI;
      const double vF = leadAvf ? (*leadAvf)[static_cast<size_t>(i)] - bF
                                : (*leadII)[static_cast<size_t>(i)] - bII - vI / 2;
      areaI += vI;
      areaF += vF;
    }
    if (std::fabs(areaI) + std::fabs(areaF) < 1e-6) return kAxisUndefined;
    // aVF sees the vertical component scaled by sqrt(3)/2.
    double deg = std::atan2(areaF * 2 / std::sqrt(3.0), areaI) * 180.0 / 3.14159265358979323846;
    if (deg <= -90) deg += 360;
    return static_cast<int>(std::lround(deg));
  };
  if (d.HasP) axes.P = axis(d.POnset, d.POffset);
  axes.Qrs = axis(d.QrsOnset, d.QrsOffset);
  if (d.HasT) axes.T = axis(d.QrsOffset, d.TOffset);
  return axes;
}

}  // namespace ktx::engine
