#include "engine/median_beat.h"

#include <algorithm>

namespace ktx::engine {
namespace {

bool Clean(const Signal& s, int from, int to) {
  for (const auto& gap : s.Gaps)
    for (int i = from; i < to; ++i)
      if (gap[static_cast<size_t>(i)]) return false;
  return true;
}

}  // namespace

ReferenceBeat MedianBeat(const Signal& s, const std::vector<DetectedBeat>& beats,
                         const TypedBeats& types) {
  ReferenceBeat ref;
  ref.Rate = s.Rate;
  const int pre = s.Samples(kReferencePre), post = s.Samples(kReferencePost);
  const int n = static_cast<int>(s.Length());
  ref.Fiducial = pre;
  std::vector<int> chosen, partial;
  for (size_t b = 0; b < beats.size(); ++b) {
    if (types.Types[b] != 0 || types.Premature[b]) continue;
    const int f = types.Fiducials[b];
    const int from = std::max(0, f - pre), to = std::min(n, f + post);
    if (!Clean(s, from, to)) continue;
    (f - pre >= 0 && f + post < n ? chosen : partial).push_back(f);
  }
  // Beats cut by the record's edges are used only when nothing better exists.
  if (chosen.empty()) chosen = partial;
  if (chosen.empty()) return ref;
  ref.BeatsUsed = static_cast<int>(chosen.size());
  std::vector<double> values;
  for (const auto& lead : s.Leads) {
    std::vector<double> out(static_cast<size_t>(pre + post), 0.0);
    for (int i = 0; i < pre + post; ++i) {
      values.clear();
      for (int f : chosen) {
        const int k = f - pre + i;
        if (k >= 0 && k < n) values.push_back(lead[static_cast<size_t>(k)]);
      }
      if (values.empty()) continue;
      auto mid = values.begin() + static_cast<long>(values.size() / 2);
      std::nth_element(values.begin(), mid, values.end());
      out[static_cast<size_t>(i)] = *mid;
    }
    ref.Leads.push_back(std::move(out));
  }
  return ref;
}

}  // namespace ktx::engine
