#include "engine/delineation.h"

#include <algorithm>
#include <cmath>

#include "engine/findings.h"

namespace ktx::engine {
namespace {

// QRS ends where the spatial velocity falls under this share of its peak; P and T on
// a velocity smoothed over 20 ms, against 1.5 times the beat's median velocity.
constexpr double kQrsShare = 0.12, kSlowSmoothing = 0.02, kNoiseFactor = 1.5, kPShare = 0.38;

std::vector<double> SpatialVelocity(const ReferenceBeat& b, int smooth) {
  const int n = static_cast<int>(b.Length());
  std::vector<double> sum(static_cast<size_t>(n), 0.0);
  std::vector<double> d(static_cast<size_t>(n)), prefix(static_cast<size_t>(n) + 1);
  for (const auto& x : b.Leads) {
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

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  auto mid = v.begin() + static_cast<long>(v.size() / 2);
  std::nth_element(v.begin(), mid, v.end());
  return *mid;
}

// Envelope of the deflection from the PR level, all leads together.
std::vector<double> Envelope(const ReferenceBeat& b, const std::vector<double>& level) {
  std::vector<double> e(b.Length(), 0.0);
  for (size_t l = 0; l < b.Leads.size(); ++l)
    for (size_t i = 0; i < e.size(); ++i) {
      const double v = b.Leads[l][i] - level[l];
      e[i] += v * v;
    }
  for (double& v : e) v = std::sqrt(v);
  return e;
}

}  // namespace

Delineation Delineate(const ReferenceBeat& b, double rrSeconds) {
  Delineation d;
  const int n = static_cast<int>(b.Length());
  if (n < 10 || b.Leads.empty()) return d;
  auto at = [&](double seconds) { return static_cast<int>(std::lround(seconds * b.Rate)); };
  const std::vector<double> sv = SpatialVelocity(b, std::max(1, at(0.004)));
  const double noise = Median(sv);

  // QRS: outwards from the steepest point near the fiducial.
  const int f = b.Fiducial;
  const int peak = ArgMax(sv, std::max(1, f - at(0.06)), std::min(n - 2, f + at(0.06)));
  const double qrsLimit = std::max(kQrsShare * sv[static_cast<size_t>(peak)], 3 * noise);
  const int hold = std::max(2, at(0.012));
  d.QrsOnset = WalkOut(sv, peak, -1, qrsLimit, hold, std::max(0, peak - at(0.12)));
  d.QrsOffset = WalkOut(sv, peak, +1, qrsLimit, hold, std::min(n - 1, peak + at(0.16)));

  // The PR level of every lead, just ahead of the QRS.
  std::vector<double> level(b.Leads.size(), 0.0);
  const int l0 = std::max(0, d.QrsOnset - at(0.02)), l1 = std::max(l0 + 1, d.QrsOnset - at(0.005));
  for (size_t l = 0; l < b.Leads.size(); ++l) {
    for (int i = l0; i < l1; ++i) level[l] += b.Leads[l][static_cast<size_t>(i)];
    level[l] /= (l1 - l0);
  }
  const std::vector<double> envelope = Envelope(b, level);
  const std::vector<double> slowSv = SpatialVelocity(b, std::max(1, at(kSlowSmoothing)));
  const double slowNoise = Median(slowSv);
  double envelopeNoise = 0;
  {
    // Sample-to-sample scatter of the flat parts stands for the residual noise.
    std::vector<double> diffs;
    for (const auto& x : b.Leads)
      for (int i = 1; i < n; ++i)
        diffs.push_back(std::fabs(x[static_cast<size_t>(i)] - x[static_cast<size_t>(i - 1)]));
    envelopeNoise = Median(diffs) * std::sqrt(static_cast<double>(b.Leads.size()));
  }

  // T: the largest deflection after the ST segment, then its end.
  const double qtLimit = rrSeconds > 0 ? std::min(0.62, 0.9 * rrSeconds) : 0.62;
  const int t0 = d.QrsOffset + at(0.06);
  const int t1 = std::min(n - 2, d.QrsOnset + at(qtLimit));
  if (t1 > t0 + at(0.04)) {
    d.TPeak = ArgMax(envelope, t0, t1);
    const double height = envelope[static_cast<size_t>(d.TPeak)];
    if (height > std::max(30.0, 6 * envelopeNoise)) {
      const int fall = ArgMax(slowSv, d.TPeak, std::min(t1, d.TPeak + at(0.2)));
      const double limit =
          std::max(0.3 * slowSv[static_cast<size_t>(fall)], kNoiseFactor * slowNoise);
      d.TOffset =
          WalkOut(slowSv, fall, +1, limit, std::max(2, at(0.02)), std::min(n - 1, t1 + at(0.1)));
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
