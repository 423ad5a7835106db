#include "engine/lobe_fit.h"

#include <algorithm>
#include <cmath>

namespace ktx::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Solves the symmetric 3x3 system g x = b by Cramer's rule; false when singular.
bool Solve3(const double g[3][3], const double b[3], double x[3]) {
  auto det = [](const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  const double d = det(g);
  if (std::fabs(d) < 1e-12) return false;
  for (int c = 0; c < 3; ++c) {
    double m[3][3];
    for (int r = 0; r < 3; ++r)
      for (int k = 0; k < 3; ++k) m[r][k] = k == c ? b[r] : g[r][k];
    x[c] = det(m) / d;
  }
  return true;
}

}  // namespace

FittedLobe FitLobe(const std::vector<double>& y, const LobeSearch& q) {
  FittedLobe best;
  const int n = static_cast<int>(y.size());
  if (q.From < 0 || q.To >= n || q.To - q.From < 4 || q.Peak <= q.From || q.Peak >= q.To)
    return best;
  const int step = std::max(1, q.Step);
  // Time is centred on the window so that the sums stay well conditioned.
  const double centre = 0.5 * (q.From + q.To);
  double count = 0, sumT = 0, sumTT = 0, sumY = 0, sumYT = 0;
  for (int i = q.From; i <= q.To; ++i) {
    const double t = i - centre, v = y[static_cast<size_t>(i)];
    count += 1;
    sumT += t;
    sumTT += t * t;
    sumY += v;
    sumYT += v * t;
  }
  double bestGain = -1;
  std::vector<double> shape;
  for (int length = std::max(2, q.MinLength); length <= q.MaxLength; length += step) {
    shape.resize(static_cast<size_t>(length) + 1);
    for (int k = 0; k <= length; ++k) shape[static_cast<size_t>(k)] = std::sin(kPi * k / length);
    const int firstOnset = std::max(q.From, q.Peak - length + 1);
    for (int onset = firstOnset; onset < q.Peak && onset + length <= q.To; onset += step) {
      double mm = 0, m1 = 0, mt = 0, ym = 0;
      for (int k = 1; k < length; ++k) {
        const double m = shape[static_cast<size_t>(k)];
        const int i = onset + k;
        mm += m * m;
        m1 += m;
        mt += m * (i - centre);
        ym += m * y[static_cast<size_t>(i)];
      }
      const double g[3][3] = {{mm, m1, mt}, {m1, count, sumT}, {mt, sumT, sumTT}};
      const double b[3] = {ym, sumY, sumYT};
      double x[3];
      if (!Solve3(g, b, x) || x[0] <= 0) continue;
      // The residual is sum(y^2) less this, so the largest explains the most.
      const double gain = x[0] * b[0] + x[1] * b[1] + x[2] * b[2];
      if (gain > bestGain) {
        bestGain = gain;
        best = {onset, onset + length - 1, x[0]};
      }
    }
  }
  return best;
}

}  // namespace ktx::engine
