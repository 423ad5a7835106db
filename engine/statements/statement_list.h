// What the criteria of one recording state, before the hierarchy sorts it out: each
// statement with how it weighs in the summary.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ktx::engine {

enum class Weight { kNormal, kBorderline, kAbnormal };

struct Candidate {
  uint16_t Code;
  Weight Level;
};

class StatementList {
 public:
  void Add(uint16_t code, Weight weight) {
    if (!Has(code)) items_.push_back({code, weight});
  }
  bool Has(uint16_t code) const {
    return std::any_of(items_.begin(), items_.end(),
                       [code](const Candidate& c) { return c.Code == code; });
  }
  void Remove(uint16_t code) {
    items_.erase(std::remove_if(items_.begin(), items_.end(),
                                [code](const Candidate& c) { return c.Code == code; }),
                 items_.end());
  }
  const std::vector<Candidate>& Items() const { return items_; }

 private:
  std::vector<Candidate> items_;
};

}  // namespace ktx::engine
