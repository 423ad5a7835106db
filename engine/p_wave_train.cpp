#include "engine/p_wave_train.h"

#include <algorithm>
#include <cmath>

#include "engine/conditioning.h"
#include "engine/sample_stats.h"
#include "record/codes.h"

namespace ktx::engine {
namespace {

// The atrial band (Hz) the waves are looked for in.
constexpr double kBandLowHz = 1, kBandHighHz = 15;
// The reference beat is taken off each beat from kQrsMargin before its QRS on, faded in
// over kFade; the QRS itself (to kAfterQrs past its offset) cancels too roughly to judge.
constexpr double kQrsMargin = 0.01, kFade = 0.01, kAfterQrs = 0.02;
// A beat of another shape hides what lies from kOtherBefore before its fiducial to
// kOtherAfter past the reference's T end.
constexpr double kOtherBefore = 0.1, kOtherAfter = 0.05;
// Candidates: peaks of the atrial leads' envelope (rms over kEnvelope) at least
// kFromNoise times its median and kLeastUv, kRefractory apart (an atrial rate of 300).
constexpr double kEnvelope = 0.04, kFromNoise = 3, kLeastUv = 15, kRefractory = 0.2;
// A P wave: its window (kHalfWindow each side, moved by up to kShift) correlates with
// the template at kMatch or better, its energy within kSizeRatio squared of the
// template's either way. Without a P wave on the reference beat the template is the
// median of the kTemplateFrom strongest candidates (at least kTemplateLeast).
constexpr double kHalfWindow = 0.05, kShift = 0.02, kMatch = 0.8, kSizeRatio = 2.5;
constexpr size_t kTemplateFrom = 12, kTemplateLeast = 3;
// Two P waves are of one shape when their windows correlate this well.
constexpr double kSameShape = 0.8;

using Window = std::vector<double>;

// The leads that show atrial waves best (II and V1), where the record has them.
std::vector<size_t> AtrialLeads(const Signal& s) {
  std::vector<size_t> leads;
  for (size_t l = 0; l < s.LeadCodes.size() && l < s.Leads.size(); ++l)
    if (s.LeadCodes[l] == kLeadII || s.LeadCodes[l] == kLeadV1) leads.push_back(l);
  return leads.empty() ? s.UsedLeads() : leads;
}

// All leads' samples [center - half, center + half] one after the other; empty where
// that runs off the signal.
Window Cut(const std::vector<std::vector<double>>& leads, int center, int half) {
  Window w;
  if (leads.empty() || center - half < 0 || center + half >= static_cast<int>(leads[0].size()))
    return w;
  for (const auto& x : leads)
    w.insert(w.end(), x.begin() + (center - half), x.begin() + (center + half + 1));
  return w;
}

void Band(std::vector<double>& x, double rate) {
  HighPass(x, rate, kBandLowHz);
  LowPass(x, rate, kBandHighHz);
}

}  // namespace

PWaveTrain FindPWaves(const Signal& s, const std::vector<int>& fiducials,
                      const std::vector<int>& types, const ReferenceBeat& ref,
                      const Delineation& d) {
  PWaveTrain out;
  const int n = static_cast<int>(s.Length());
  const int length = static_cast<int>(ref.Length());
  if (fiducials.empty() || n == 0 || length == 0 || d.QrsOnset < 1 || d.QrsOffset >= length)
    return out;
  const std::vector<size_t> leads = AtrialLeads(s);
  const int margin = s.Samples(kQrsMargin), fade = std::max(1, s.Samples(kFade));
  const int from = d.QrsOnset - margin;
  const int tEnd = d.HasT ? d.TOffset : length - 1;

  // What stays of every lead once each dominant beat's QRS-T is taken off; the same
  // of the reference beat itself, its P wave.
  std::vector<std::vector<double>> residue, beat;
  for (size_t l : leads) {
    std::vector<double> x = s.Leads[l];
    std::vector<double> ventricles = ref.Leads[l];
    const int l0 = std::max(0, d.QrsOnset - s.Samples(0.02));
    const int l1 = std::max(l0 + 1, d.QrsOnset - s.Samples(0.005));
    double level = 0;
    for (int i = l0; i < l1; ++i) level += ventricles[static_cast<size_t>(i)];
    level /= (l1 - l0);
    for (int i = 0; i < length; ++i) {
      const double fadeIn = std::clamp(static_cast<double>(i - (from - fade)) / fade, 0.0, 1.0);
      const double fadeOut = std::min(1.0, static_cast<double>(length - 1 - i) / fade);
      ventricles[static_cast<size_t>(i)] =
          fadeIn * fadeOut * (ventricles[static_cast<size_t>(i)] - level);
    }
    for (size_t b = 0; b < fiducials.size(); ++b) {
      if (types[b] != 0) continue;
      const int at = fiducials[b] - ref.Fiducial;
      for (int i = std::max(0, from - fade); i < length; ++i) {
        const int k = at + i;
        if (k >= 0 && k < n) x[static_cast<size_t>(k)] -= ventricles[static_cast<size_t>(i)];
      }
    }
    Band(x, s.Rate);
    residue.push_back(std::move(x));
    std::vector<double> own = ref.Leads[l];
    for (int i = 0; i < length; ++i)
      own[static_cast<size_t>(i)] -= ventricles[static_cast<size_t>(i)];
    Band(own, s.Rate);
    beat.push_back(std::move(own));
  }
  std::vector<uint8_t> blind(s.Length(), 0);
  auto blank = [&](int a, int b) {
    for (int i = std::max(0, a); i <= std::min(n - 1, b); ++i) blind[static_cast<size_t>(i)] = 1;
  };
  for (size_t b = 0; b < fiducials.size(); ++b) {
    const int at = fiducials[b] - ref.Fiducial;
    if (types[b] == 0) {
      blank(at + from, at + d.QrsOffset + s.Samples(kAfterQrs));
    } else {
      blank(fiducials[b] - s.Samples(kOtherBefore), at + tEnd + s.Samples(kOtherAfter));
    }
  }

  // The envelope and its peaks.
  const int half = std::max(1, s.Samples(kEnvelope) / 2);
  std::vector<double> prefix(s.Length() + 1, 0.0);
  for (int i = 0; i < n; ++i) {
    double v = 0;
    for (const auto& x : residue) v += x[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
    prefix[static_cast<size_t>(i) + 1] = prefix[static_cast<size_t>(i)] + v;
  }
  std::vector<double> envelope(s.Length(), 0.0), quiet;
  for (int i = 0; i < n; ++i) {
    if (blind[static_cast<size_t>(i)]) continue;
    const int a = std::max(0, i - half), b = std::min(n, i + half + 1);
    envelope[static_cast<size_t>(i)] =
        std::sqrt((prefix[static_cast<size_t>(b)] - prefix[static_cast<size_t>(a)]) / (b - a));
    quiet.push_back(envelope[static_cast<size_t>(i)]);
  }
  if (quiet.empty()) return out;
  const double least = std::max(kFromNoise * Median(quiet), kLeastUv);
  const int w = s.Samples(kHalfWindow), shift = s.Samples(kShift);
  std::vector<int> peaks;
  for (int i = w + shift; i + w + shift < n; ++i) {
    const double e = envelope[static_cast<size_t>(i)];
    if (e < least || e < envelope[static_cast<size_t>(i - 1)] ||
        e <= envelope[static_cast<size_t>(i + 1)])
      continue;
    // The whole wave must lie where the beats were cancelled well.
    bool clear = true;
    for (int k = i - w; k <= i + w && clear; ++k) clear = !blind[static_cast<size_t>(k)];
    if (clear) peaks.push_back(i);
  }
  std::stable_sort(peaks.begin(), peaks.end(), [&](int a, int b) {
    return envelope[static_cast<size_t>(a)] > envelope[static_cast<size_t>(b)];
  });
  std::vector<int> candidates;
  const int refractory = s.Samples(kRefractory);
  for (int p : peaks) {
    const bool near = std::any_of(candidates.begin(), candidates.end(),
                                  [&](int c) { return std::abs(c - p) < refractory; });
    if (!near) candidates.push_back(p);
  }
  if (candidates.empty()) return out;

  // The template: the reference beat's own P wave, in the same band; else the median
  // shape of the strongest candidates.
  Window shape;
  int onsetBeforePeak = w;
  if (d.HasP) {
    int peak = d.POnset;
    double top = -1;
    for (int i = d.POnset; i <= d.POffset; ++i) {
      double e = 0;
      for (const auto& x : beat) e += x[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
      if (e > top) {
        top = e;
        peak = i;
      }
    }
    shape = Cut(beat, peak, w);
    onsetBeforePeak = peak - d.POnset;
  } else if (candidates.size() >= kTemplateLeast) {
    std::vector<Window> strongest;
    for (size_t c = 0; c < candidates.size() && c < kTemplateFrom; ++c)
      strongest.push_back(Cut(residue, candidates[c], w));
    shape.resize(strongest[0].size());
    std::vector<double> values;
    for (size_t i = 0; i < shape.size(); ++i) {
      values.clear();
      for (const Window& v : strongest) values.push_back(v[i]);
      shape[i] = Median(values);
    }
  }
  if (shape.empty() || Energy(shape) <= 0) return out;

  std::sort(candidates.begin(), candidates.end());
  std::vector<Window> found;
  const double energy = Energy(shape);
  for (int c : candidates) {
    double best = -1;
    int at = c;
    Window bestWindow;
    for (int k = c - shift; k <= c + shift; ++k) {
      Window v = Cut(residue, k, w);
      const double r = Correlation(v, shape);
      if (r > best) {
        best = r;
        at = k;
        bestWindow = std::move(v);
      }
    }
    const double size = Energy(bestWindow) / energy;
    if (best < kMatch || size > kSizeRatio * kSizeRatio || size * kSizeRatio * kSizeRatio < 1)
      continue;
    out.Onsets.push_back(std::max(0, at - onsetBeforePeak));
    found.push_back(std::move(bestWindow));
  }
  // Shapes: each P wave joins the first shape it matches, or starts one.
  std::vector<const Window*> founders;
  for (const Window& v : found) {
    const bool known = std::any_of(founders.begin(), founders.end(), [&](const Window* f) {
      return Correlation(v, *f) >= kSameShape;
    });
    if (!known) founders.push_back(&v);
  }
  out.Shapes = static_cast<int>(founders.size());
  return out;
}

}  // namespace ktx::engine
