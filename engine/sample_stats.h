// Order statistics of sample values and the shape comparison of two windows, shared by
// the detectors and the delineation.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace ktx::engine {

// The value `share` of the way up the sorted values (rounded down to a sample); 0 for none.
inline double Percentile(std::vector<double> v, double share) {
  if (v.empty()) return 0;
  auto at = v.begin() + static_cast<long>(share * static_cast<double>(v.size() - 1));
  std::nth_element(v.begin(), at, v.end());
  return *at;
}

// The middle value, the upper of the two for an even count; 0 for none. Reorders v.
inline double MedianInPlace(std::vector<double>& v) {
  if (v.empty()) return 0;
  auto mid = v.begin() + static_cast<long>(v.size() / 2);
  std::nth_element(v.begin(), mid, v.end());
  return *mid;
}

inline double Median(std::vector<double> v) {
  return MedianInPlace(v);
}

// Pearson correlation over the common length; 0 when either side is flat or empty.
inline double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
  const size_t n = std::min(a.size(), b.size());
  if (n == 0) return 0;
  double ma = 0, mb = 0;
  for (size_t i = 0; i < n; ++i) {
    ma += a[i];
    mb += b[i];
  }
  ma /= static_cast<double>(n);
  mb /= static_cast<double>(n);
  double ab = 0, aa = 0, bb = 0;
  for (size_t i = 0; i < n; ++i) {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) * (a[i] - ma);
    bb += (b[i] - mb) * (b[i] - mb);
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

inline double Energy(const std::vector<double>& a) {
  double e = 0;
  for (double v : a) e += v * v;
  return e;
}

}  // namespace ktx::engine
