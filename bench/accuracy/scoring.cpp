#include "scoring.h"

#include <cstdlib>

namespace accuracy {

Score Compare(const std::vector<long>& reference, const std::vector<long>& detected, long window) {
  Score s;
  size_t d = 0;
  for (long r : reference) {
    while (d < detected.size() && detected[d] < r - window) {
      ++s.FP;
      s.Extra.push_back(detected[d]);
      ++d;
    }
    if (d < detected.size() && std::labs(detected[d] - r) <= window) {
      // The closer of two candidates takes the beat.
      if (d + 1 < detected.size() && std::labs(detected[d + 1] - r) < std::labs(detected[d] - r)) {
        ++s.FP;
        s.Extra.push_back(detected[d]);
        ++d;
      }
      ++s.TP;
      ++d;
    } else {
      ++s.FN;
      s.Missed.push_back(r);
    }
  }
  for (; d < detected.size(); ++d) {
    ++s.FP;
    s.Extra.push_back(detected[d]);
  }
  return s;
}

}  // namespace accuracy
