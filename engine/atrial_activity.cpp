#include "engine/atrial_activity.h"

#include <algorithm>
#include <cmath>

#include "engine/conditioning.h"
#include "engine/sample_stats.h"
#include "record/codes.h"

namespace ktx::engine {
namespace {

constexpr double kAtrialBandHz = 15;
constexpr size_t kMostBeats = 24;
// The atrial band of the residue between beats and the grid of its spectrum (Hz); the
// QRS parts left out of it (seconds around each fiducial).
constexpr double kAtrialLowHz = 3, kAtrialHighHz = 12, kAtrialStepHz = 0.25;
constexpr double kResidueQrsBefore = 0.07, kResidueQrsAfter = 0.09;
constexpr double kContinuityWindow = 0.06;

double MeanOver(const std::vector<double>& x, int from, int to) {
  double sum = 0;
  for (int i = from; i < to; ++i) sum += x[static_cast<size_t>(i)];
  return to > from ? sum / (to - from) : 0;
}

// x over [from, to] (starting at `at` in x) against the straight line through its
// levels just before `from` and just before `qrsOnset`: a drifting baseline does not
// count as a wave.
void Detrended(const std::vector<double>& x, int at, int from, int to, int qrsOnset, int span,
               std::vector<double>& out) {
  const double a = MeanOver(x, at + from - span, at + from);
  const double b = MeanOver(x, at + qrsOnset - span, at + qrsOnset);
  for (int i = from; i <= to; ++i) {
    const double t = static_cast<double>(i - from) / std::max(1, qrsOnset - from);
    out.push_back(x[static_cast<size_t>(at + i)] - (a + t * (b - a)));
  }
}

}  // namespace

double Coupling(const Signal& s, const ReferenceBeat& ref, int from, int to, int qrsOnset) {
  const int span = std::max(1, static_cast<int>(std::lround(0.015 * ref.Rate)));
  const int n = static_cast<int>(s.Length());
  if (from < span || to <= from || qrsOnset <= to) return 0;
  // Atrial waves, P or fibrillatory, lie below kAtrialBandHz: compared there, broadband
  // noise weighs little.
  std::vector<std::vector<double>> band;
  for (size_t l : s.UsedLeads()) {
    band.push_back(s.Leads[l]);
    LowPass(band.back(), s.Rate, kAtrialBandHz);
  }
  // Every member beat's window, all used leads one after the other; of a long record
  // kMostBeats beats spread over it are plenty.
  std::vector<std::vector<double>> windows;
  const size_t stride = (ref.Members.size() + kMostBeats - 1) / kMostBeats;
  for (size_t m = 0; m < ref.Members.size(); m += stride) {
    const int f = ref.Members[m];
    const int at = f - ref.Fiducial;
    if (at + from - span < 0 || at + qrsOnset >= n) continue;
    std::vector<double> w;
    for (const auto& x : band) Detrended(x, at, from, to, qrsOnset, span, w);
    windows.push_back(std::move(w));
  }
  if (windows.size() < 3) return 0;
  // The wave: the median over all beats. What a beat differs from the median of the
  // others: with every beat left out in turn, a few beats cannot pull the median
  // onto themselves.
  const size_t length = windows[0].size();
  std::vector<double> values;
  double wave = 0;
  for (size_t i = 0; i < length; ++i) {
    values.clear();
    for (const auto& w : windows) values.push_back(w[i]);
    const double m = MedianInPlace(values);
    wave += m * m;
  }
  std::vector<double> residues;
  for (size_t b = 0; b < windows.size(); ++b) {
    double residue = 0;
    for (size_t i = 0; i < length; ++i) {
      values.clear();
      for (size_t o = 0; o < windows.size(); ++o)
        if (o != b) values.push_back(windows[o][i]);
      const double v = windows[b][i] - MedianInPlace(values);
      residue += v * v;
    }
    residues.push_back(residue);
  }
  const double residue = MedianInPlace(residues);
  return residue > 0 ? wave / residue : 1e9;
}

AtrialResidue ResidueBetweenBeats(const Signal& s, const std::vector<int>& fiducials,
                                  const std::vector<int>& types, const ReferenceBeat& ref) {
  AtrialResidue out;
  const int n = static_cast<int>(s.Length());
  if (fiducials.empty() || ref.Leads.empty() || n == 0) return out;
  // Which samples count: between the first and the last cancelled beat, away from
  // every QRS, and not within a beat of another shape.
  std::vector<uint8_t> counted(s.Length(), 0);
  const int pre = static_cast<int>(ref.Fiducial), post = static_cast<int>(ref.Length()) - pre;
  for (int i = std::max(0, fiducials.front()); i < std::min(n, fiducials.back()); ++i)
    counted[static_cast<size_t>(i)] = 1;
  const int qrsBefore = s.Samples(kResidueQrsBefore), qrsAfter = s.Samples(kResidueQrsAfter);
  for (size_t b = 0; b < fiducials.size(); ++b) {
    const int f = fiducials[b];
    const int from = types[b] == 0 ? f - qrsBefore : f - pre / 2;
    const int to = types[b] == 0 ? f + qrsAfter : f + post / 2;
    for (int i = std::max(0, from); i < std::min(n, to); ++i) counted[static_cast<size_t>(i)] = 0;
  }
  double samples = 0;
  for (uint8_t c : counted) samples += c;
  if (samples < s.Rate) return out;  // less than a second to look at
  // The leads that show atrial waves best (Einthoven's II and V1), where the record
  // has them.
  std::vector<size_t> leads;
  for (size_t l = 0; l < s.LeadCodes.size() && l < s.Leads.size(); ++l)
    if (s.LeadCodes[l] == kLeadII || s.LeadCodes[l] == kLeadV1) leads.push_back(l);
  if (leads.empty()) leads = s.UsedLeads();
  std::vector<double> best;
  for (size_t l : leads) {
    std::vector<double> r = s.Leads[l];
    for (size_t b = 0; b < fiducials.size(); ++b) {
      if (types[b] != 0) continue;
      const int at = fiducials[b] - pre;
      for (int i = std::max(0, at); i < std::min(n, at + pre + post); ++i)
        r[static_cast<size_t>(i)] -= ref.Leads[l][static_cast<size_t>(i - at)];
    }
    HighPass(r, s.Rate, kAtrialLowHz);
    LowPass(r, s.Rate, kAtrialHighHz);
    double energy = 0;
    for (size_t i = 0; i < r.size(); ++i)
      if (counted[i]) energy += r[i] * r[i];
    const double rms = std::sqrt(energy / samples);
    if (rms > out.RmsUv) {
      out.RmsUv = rms;
      for (size_t i = 0; i < r.size(); ++i)
        if (!counted[i]) r[i] = 0;
      best.swap(r);
    }
  }
  // How continuous it is: the share of the counted time whose local size (over one
  // kContinuityWindow) reaches half the overall one. Flutter and fibrillation waves
  // run on; P waves are short events with a flat line between them.
  {
    const int half = std::max(1, s.Samples(kContinuityWindow) / 2);
    std::vector<double> prefix(best.size() + 1, 0.0), count(best.size() + 1, 0.0);
    for (size_t i = 0; i < best.size(); ++i) {
      prefix[i + 1] = prefix[i] + best[i] * best[i];
      count[i + 1] = count[i] + counted[i];
    }
    double above = 0;
    for (int i = 0; i < n; ++i) {
      if (!counted[static_cast<size_t>(i)]) continue;
      const size_t a = static_cast<size_t>(std::max(0, i - half));
      const size_t b = static_cast<size_t>(std::min(n, i + half + 1));
      const double c = count[b] - count[a];
      if (c > 0 && std::sqrt((prefix[b] - prefix[a]) / c) >= 0.5 * out.RmsUv) above += 1;
    }
    out.Continuity = above / samples;
  }
  // The dominant frequency of that lead's residue.
  double top = 0;
  for (double hz = kAtrialLowHz; hz <= kAtrialHighHz + 1e-9; hz += kAtrialStepHz) {
    const double c = 2 * std::cos(2 * 3.14159265358979323846 * hz / s.Rate);
    double s1 = 0, s2 = 0;
    for (double v : best) {
      const double s0 = v + c * s1 - s2;
      s2 = s1;
      s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
    if (power > top) {
      top = power;
      out.DominantHz = hz;
    }
  }
  // One cycle against the next, where both are counted; the cycle within a tenth of the
  // dominant frequency's (its grid is coarse).
  const double cycle = out.DominantHz > 0 ? s.Rate / out.DominantHz : 0;
  const int lagFrom = static_cast<int>(std::floor(0.9 * cycle));
  const int lagTo = static_cast<int>(std::ceil(1.1 * cycle));
  for (int lag = std::max(1, lagFrom); best.size() == s.Length() && lag <= lagTo; ++lag) {
    double ab = 0, aa = 0, bb = 0;
    for (int i = 0; i + lag < n; ++i) {
      const size_t a = static_cast<size_t>(i), b = static_cast<size_t>(i + lag);
      if (!counted[a] || !counted[b]) continue;
      ab += best[a] * best[b];
      aa += best[a] * best[a];
      bb += best[b] * best[b];
    }
    if (aa > 0 && bb > 0) out.Regularity = std::max(out.Regularity, ab / std::sqrt(aa * bb));
  }
  return out;
}

}  // namespace ktx::engine
