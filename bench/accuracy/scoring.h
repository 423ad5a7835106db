// Beat-by-beat comparison of detections with reference beats (ANSI/AAMI EC57 style):
// each reference beat matches at most one detection within the window.
#pragma once

#include <vector>

namespace accuracy {

struct Score {
  long TP = 0, FN = 0, FP = 0;
  std::vector<long> Missed, Extra;  // samples of the FN reference beats and FP detections
  double Sensitivity() const {
    return TP + FN ? 100.0 * static_cast<double>(TP) / static_cast<double>(TP + FN) : 100.0;
  }
  double Predictivity() const {
    return TP + FP ? 100.0 * static_cast<double>(TP) / static_cast<double>(TP + FP) : 100.0;
  }
  Score& operator+=(const Score& o) {
    TP += o.TP;
    FN += o.FN;
    FP += o.FP;
    return *this;
  }
};

// Both lists sorted, in samples; `window` the largest distance of a match.
Score Compare(const std::vector<long>& reference, const std::vector<long>& detected, long window);

}  // namespace accuracy
