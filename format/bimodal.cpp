// Bimodal compression keeps every sample of the protected zones (around each QRS)
// and one sample per `ratio` elsewhere, the mean of its run. Undecimating places each
// kept mean at the centre of its run, interpolates linearly between neighbouring kept
// samples and smooths the interpolated ones with a [1 2 1] / 4 filter.
#include <cmath>

#include "format/waveform_steps.h"
#include "platform/errors.h"

namespace {

// true for the 0-based samples of `full` that lie in a protected zone.
std::vector<bool> ProtectedMask(const SQrsLocations& qrs, size_t full) {
  std::vector<bool> mask(full, false);
  for (const SQrsZone& zone : qrs.Zones) {
    if (zone.ProtectStart == 0) continue;
    for (size_t s = zone.ProtectStart; s <= zone.ProtectEnd && s <= full; ++s) mask[s - 1] = true;
  }
  return mask;
}

struct Anchor {
  double Position;  // 0-based, may lie between samples
  int16_t Value;
};

// Kept samples with their positions; chunks are runs of unprotected samples of at
// most `ratio`, cut afresh after every protected zone.
template <typename Visit>
void WalkChunks(const std::vector<bool>& mask, unsigned ratio, Visit visit) {
  size_t s = 0;
  while (s < mask.size()) {
    if (mask[s]) {
      visit(s, s);
      ++s;
      continue;
    }
    const size_t first = s;
    while (s < mask.size() && !mask[s] && s - first < ratio) ++s;
    visit(first, s - 1);
  }
}

}  // namespace

size_t DecimatedCount(const SQrsLocations& qrs, size_t full, unsigned ratio) {
  size_t count = 0;
  WalkChunks(ProtectedMask(qrs, full), ratio, [&count](size_t, size_t) { ++count; });
  return count;
}

bool Undecimate(const SQrsLocations& qrs, const std::vector<int16_t>& stored, size_t full,
                unsigned ratio, std::vector<int16_t>* out) {
  const std::vector<bool> mask = ProtectedMask(qrs, full);
  std::vector<Anchor> anchors;
  anchors.reserve(stored.size());
  bool fits = true;
  WalkChunks(mask, ratio, [&](size_t first, size_t last) {
    if (anchors.size() >= stored.size()) {
      fits = false;
      return;
    }
    anchors.push_back(
        {(static_cast<double>(first) + static_cast<double>(last)) / 2, stored[anchors.size()]});
  });
  if (!fits || anchors.size() != stored.size()) return plat::FailWith(plat::kErrInvalidData);

  std::vector<int16_t> line(full, 0);
  size_t right = 0;  // first anchor at or after the sample
  for (size_t s = 0; s < full; ++s) {
    const double at = static_cast<double>(s);
    while (right < anchors.size() && anchors[right].Position < at) ++right;
    if (right == anchors.size()) {
      line[s] = anchors.empty() ? 0 : anchors.back().Value;
    } else if (right == 0 || anchors[right].Position == at) {
      line[s] = anchors[right].Value;
    } else {
      const Anchor& a = anchors[right - 1];
      const Anchor& b = anchors[right];
      const double t = (at - a.Position) / (b.Position - a.Position);
      line[s] = static_cast<int16_t>(std::lround(a.Value + t * (b.Value - a.Value)));
    }
  }
  out->assign(line.begin(), line.end());
  for (size_t s = 1; s + 1 < full; ++s) {
    if (mask[s]) continue;
    const int sum = line[s - 1] + 2 * line[s] + line[s + 1];
    (*out)[s] = static_cast<int16_t>(std::lround(sum / 4.0));
  }
  return true;
}
