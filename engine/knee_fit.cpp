#include "engine/knee_fit.h"

#include <algorithm>
#include <cmath>

namespace ktx::engine {

Knee FitKnee(const std::vector<double>& y, int from, int to, bool rising) {
  const int n = static_cast<int>(y.size());
  from = std::max(0, from);
  to = std::min(n - 1, to);
  Knee best;
  if (to - from < 6) return best;
  double count = 0, sumY = 0;
  for (int i = from; i <= to; ++i) {
    count += 1;
    sumY += y[static_cast<size_t>(i)];
  }
  double bestGain = 0;
  // Model y = a + b h with h the distance past the knee on the sloping side; the
  // least-squares fit explains a share of sum(y^2) that grows as the residual falls.
  for (int k = from + 2; k <= to - 2; ++k) {
    double sumH = 0, sumHH = 0, sumYH = 0;
    for (int i = from; i <= to; ++i) {
      const double h = rising ? std::max(0, i - k) : std::max(0, k - i);
      sumH += h;
      sumHH += h * h;
      sumYH += h * y[static_cast<size_t>(i)];
    }
    const double det = count * sumHH - sumH * sumH;
    if (det <= 0) continue;
    const double a = (sumY * sumHH - sumH * sumYH) / det;
    const double b = (count * sumYH - sumH * sumY) / det;
    if (b <= 0) continue;  // the wave side lies above the baseline
    const double gain = a * sumY + b * sumYH;
    if (best.At < 0 || gain > bestGain) {
      best = {k, a, b};
      bestGain = gain;
    }
  }
  if (best.At >= 0) {
    // How far the flat side scatters about its line.
    double sum = 0, counted = 0;
    for (int i = from; i <= to; ++i) {
      if (rising ? i > best.At : i < best.At) continue;
      const double r = y[static_cast<size_t>(i)] - best.Level;
      sum += r * r;
      counted += 1;
    }
    best.Scatter = counted > 0 ? std::sqrt(sum / counted) : 0;
  }
  return best;
}

int WaveEdge(const std::vector<double>& logv, int from, int to, int inner, bool rising,
             double factor, double scatterFactor) {
  const Knee knee = FitKnee(logv, from, to, rising);
  if (knee.At < 0) return inner;
  const double above = std::max(std::log(factor), scatterFactor * knee.Scatter);
  const int step = rising ? 1 : -1;
  int edge = knee.At;
  while ((rising ? edge < inner : edge > inner) &&
         logv[static_cast<size_t>(edge)] < knee.Level + above)
    edge += step;
  const int onLine = knee.At + step * static_cast<int>(std::lround(above / knee.Slope));
  edge = rising ? std::max(edge, onLine) : std::min(edge, onLine);
  return rising ? std::min(edge, inner) : std::max(edge, inner);
}

}  // namespace ktx::engine
