#include "engine/statements/av_conduction.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/statements/criteria.h"

namespace ktx::engine {
namespace {

namespace c = criteria;

// The fewest P waves and beats a relation is judged on.
constexpr size_t kLeastPWaves = 4, kLeastBeats = 3;
// Share of the supraventricular beats that must follow a P wave at one PR, and of the
// P-P intervals that must keep the atrial rhythm.
constexpr double kConductedShare = 0.8;
// Where a P wave cannot be seen (ms around a QRS onset): its QRS, and the P wave's own
// half length before it.
constexpr int kHiddenBefore = 120, kHiddenAfter = 150;

double Mean(const std::vector<int>& v) {
  double sum = 0;
  for (int x : v) sum += x;
  return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

double Spread(const std::vector<int>& v) {
  const double m = Mean(v);
  double sum = 0;
  for (int x : v) sum += (x - m) * (x - m);
  return v.size() < 2 ? 0 : std::sqrt(sum / static_cast<double>(v.size() - 1));
}

bool Supraventricular(const BeatFindings& beat) {
  return beat.Kind == 'N' || beat.Kind == 'S';
}

// Per supraventricular beat, the distance from the last P wave before its QRS (-1 when
// none lies within one P-P interval and a half).
std::vector<int> PRsOfBeats(const Findings& f) {
  std::vector<int> prs;
  const int reach = f.AtrialRate > 0 ? 90000 / f.AtrialRate : 0;
  for (const BeatFindings& beat : f.Beats) {
    if (!Supraventricular(beat)) continue;
    const auto after = std::lower_bound(f.PWaves.begin(), f.PWaves.end(), beat.QrsOnset);
    if (after == f.PWaves.begin()) {
      prs.push_back(-1);
      continue;
    }
    const int pr = beat.QrsOnset - *(after - 1);
    prs.push_back(pr <= reach ? pr : -1);
  }
  return prs;
}

// The first QRS onset after `time` (any beat), or -1.
int NextQrs(const Findings& f, int time) {
  for (const BeatFindings& beat : f.Beats)
    if (beat.QrsOnset > time) return beat.QrsOnset;
  return -1;
}

bool Conducts(int pr) {
  return pr >= c::kConductedPRFrom && pr <= c::kConductedPRUpTo;
}

// Whether a P wave due at `time` (ms) would hide in a QRS complex: the P waves are
// looked for where the beats' QRS complexes are cancelled well, so not from a little
// before a QRS onset to its end.
bool HiddenByQrs(const Findings& f, double time) {
  return std::any_of(f.Beats.begin(), f.Beats.end(), [time](const BeatFindings& beat) {
    return time >= beat.QrsOnset - kHiddenBefore && time <= beat.QrsOnset + kHiddenAfter;
  });
}

// The P waves come at one rhythm: most P-P intervals are the median one, or twice it
// where the P wave between fell into a QRS complex.
bool RegularAtria(const Findings& f) {
  const std::vector<int>& p = f.PWaves;
  if (p.size() < kLeastPWaves || f.AtrialRate <= 0) return false;
  const double pp = 60000.0 / f.AtrialRate;
  size_t onTime = 0;
  for (size_t i = 1; i < p.size(); ++i) {
    const double d = p[i] - p[i - 1];
    onTime += std::fabs(d - pp) <= c::kOnTimeWithin * pp ||
              (std::fabs(d - 2 * pp) <= 2 * c::kOnTimeWithin * pp && HiddenByQrs(f, p[i - 1] + pp));
  }
  return static_cast<double>(onTime) >= kConductedShare * static_cast<double>(p.size() - 1);
}

}  // namespace

bool PWaveBeforeEveryBeat(const Findings& f) {
  const std::vector<int> prs = PRsOfBeats(f);
  const auto conducted = std::count_if(prs.begin(), prs.end(), Conducts);
  return prs.size() >= kLeastBeats &&
         static_cast<double>(conducted) >= kConductedShare * static_cast<double>(prs.size());
}

bool PWavesConductEveryBeat(const Findings& f) {
  const std::vector<int> prs = PRsOfBeats(f);
  std::vector<int> conducted;
  for (int pr : prs)
    if (Conducts(pr)) conducted.push_back(pr);
  return prs.size() >= kLeastBeats &&
         static_cast<double>(conducted.size()) >=
             kConductedShare * static_cast<double>(prs.size()) &&
         Spread(conducted) <= c::kConstantPRWithin;
}

AVBlock ClassifyAVBlock(const Findings& f) {
  const std::vector<int>& p = f.PWaves;
  if (f.Beats.size() < kLeastBeats || f.HeartRate <= 0 || !RegularAtria(f)) return AVBlock::kNone;
  const double pp = 60000.0 / f.AtrialRate;
  const bool regularVentricles = f.RRIrregularity <= c::kIrregularAbove;
  // The blocked P waves: on time, and another P wave comes before any QRS does. For
  // each, the change of PR across it (before less after) where both neighbours conduct.
  int blocked = 0;
  std::vector<int> lengthening;
  const int first = f.Beats.front().QrsOnset, last = f.Beats.back().QrsOnset;
  for (size_t i = 1; i + 1 < p.size(); ++i) {
    if (p[i] <= first || p[i] >= last) continue;
    const bool onTime = std::fabs(p[i] - p[i - 1] - pp) <= c::kOnTimeWithin * pp &&
                        std::fabs(p[i + 1] - p[i] - pp) <= c::kOnTimeWithin * pp;
    const int next = NextQrs(f, p[i]);
    if (!onTime || next < 0 || p[i + 1] >= next) continue;
    ++blocked;
    const int before = NextQrs(f, p[i - 1]) - p[i - 1];
    const int after = next - p[i + 1];
    if (NextQrs(f, p[i - 1]) < p[i] && Conducts(before) && Conducts(after))
      lengthening.push_back(before - after);
  }
  if (blocked == 0) return AVBlock::kNone;

  std::vector<int> prs;
  for (int pr : PRsOfBeats(f))
    if (pr >= 0) prs.push_back(pr);
  // The atria faster than the ventricles and independent of them.
  const bool faster = f.AtrialRate > f.HeartRate * (1 + c::kOnTimeWithin);
  const bool escape = f.HeartRate < c::kEscapeBelow || f.PacedBeats * 2 >= f.BeatCount;
  if (faster && regularVentricles && escape && Spread(prs) > c::kDissociatedPRSpreadAbove)
    return AVBlock::kComplete;
  const double ratio = static_cast<double>(f.AtrialRate) / f.HeartRate;
  std::vector<int> conducted;
  for (int pr : prs)
    if (Conducts(pr)) conducted.push_back(pr);
  const bool constantPR =
      conducted.size() >= kLeastBeats - 1 &&
      static_cast<double>(conducted.size()) >= kConductedShare * static_cast<double>(prs.size()) &&
      Spread(conducted) <= c::kConstantPRWithin;
  // Twice as many P waves as beats, within a tenth.
  if (regularVentricles && std::fabs(ratio - 2) <= 2 * c::kTwoToOneWithin && constantPR)
    return AVBlock::kTwoToOne;
  if (lengthening.empty()) return AVBlock::kNone;
  const auto wenckebach = std::count_if(lengthening.begin(), lengthening.end(),
                                        [](int d) { return d >= c::kConstantPRWithin; });
  if (wenckebach * 2 > static_cast<long>(lengthening.size())) return AVBlock::kMobitzI;
  const auto constant = std::count_if(lengthening.begin(), lengthening.end(),
                                      [](int d) { return std::abs(d) < c::kConstantPRWithin; });
  return constant * 2 > static_cast<long>(lengthening.size()) ? AVBlock::kMobitzII : AVBlock::kNone;
}

}  // namespace ktx::engine
