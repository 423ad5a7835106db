#include "engine/wave_measurements.h"

#include <algorithm>
#include <cmath>

namespace ktx::engine {
namespace {

// Waves smaller than this are taken for noise on the QRS, not for waves of their own.
constexpr double kMinWave = 20.0;  // microvolts

// The P wave's terminal part is looked for up to this far past its offset (seconds):
// V1's negative end is shallow and the global P offset falls early in it.
constexpr double kPTerminalReach = 0.01;

struct Lobe {
  int From, To;
  double Extreme;
  int Peak;  // sample of the extreme
};

std::vector<Lobe> Lobes(const std::vector<double>& x, double level, int from, int to) {
  std::vector<Lobe> lobes;
  for (int i = from; i <= to; ++i) {
    const double v = x[static_cast<size_t>(i)] - level;
    const bool positive = v >= 0;
    if (lobes.empty() || (lobes.back().Extreme >= 0) != positive) {
      lobes.push_back({i, i, v, i});
    } else {
      lobes.back().To = i;
      if (std::fabs(v) > std::fabs(lobes.back().Extreme)) {
        lobes.back().Extreme = v;
        lobes.back().Peak = i;
      }
    }
  }
  // Fold lobes too small to count into their neighbours.
  std::vector<Lobe> kept;
  for (const Lobe& l : lobes) {
    if (std::fabs(l.Extreme) < kMinWave && !kept.empty()) {
      kept.back().To = l.To;
      continue;
    }
    if (!kept.empty() && (kept.back().Extreme >= 0) == (l.Extreme >= 0)) {
      kept.back().To = l.To;
      if (std::fabs(l.Extreme) > std::fabs(kept.back().Extreme)) {
        kept.back().Extreme = l.Extreme;
        kept.back().Peak = l.Peak;
      }
      continue;
    }
    kept.push_back(l);
  }
  while (!kept.empty() && std::fabs(kept.front().Extreme) < kMinWave) kept.erase(kept.begin());
  return kept;
}

int Round(double v) {
  return static_cast<int>(std::lround(v));
}

}  // namespace

std::vector<LeadFindings> MeasureLeads(const ReferenceBeat& b, const std::vector<uint16_t>& codes,
                                       const Delineation& d) {
  std::vector<LeadFindings> out;
  const int n = static_cast<int>(b.Length());
  auto ms = [&](int samples) { return Round(samples * 1000.0 / b.Rate); };
  auto at = [&](double seconds) { return static_cast<int>(std::lround(seconds * b.Rate)); };
  for (size_t l = 0; l < b.Leads.size(); ++l) {
    const std::vector<double>& x = b.Leads[l];
    LeadFindings m;
    m.LeadCode = l < codes.size() ? codes[l] : 0;
    const int l0 = std::max(0, d.QrsOnset - at(0.02)),
              l1 = std::max(l0 + 1, d.QrsOnset - at(0.005));
    double level = 0;
    for (int i = l0; i < l1; ++i) level += x[static_cast<size_t>(i)];
    level /= (l1 - l0);

    // The waves of this lead between its own QRS onset and offset: before and after
    // them it is at its PR level or already in its ST segment.
    const LeadWaves own = DelineateLead(b, l, d);
    m.QRSDuration = ms(own.QrsOffset - own.QrsOnset);
    m.QTInterval = d.HasT ? ms(own.TOffset - own.QrsOnset) : 0;
    const std::vector<Lobe> lobes = Lobes(x, level, own.QrsOnset, own.QrsOffset);
    size_t next = 0;
    int lastR = -1;
    auto take = [&](bool positive, int& amplitude, int& duration) {
      if (next < lobes.size() && (lobes[next].Extreme >= 0) == positive) {
        amplitude = Round(lobes[next].Extreme);
        duration = ms(lobes[next].To - lobes[next].From + 1);
        if (positive) lastR = lobes[next].Peak;
        ++next;
      }
    };
    take(false, m.QAmplitude, m.QDuration);
    take(true, m.RAmplitude, m.RDuration);
    take(false, m.SAmplitude, m.SDuration);
    take(true, m.RdashAmplitude, m.RdashDuration);
    take(false, m.SdashAmplitude, m.SdashDuration);
    // The intrinsicoid deflection: from the onset of the whole complex, as the time the
    // activation front takes to reach the muscle under the lead.
    if (lastR >= 0) m.RPeakTime = ms(lastR - d.QrsOnset);

    auto value = [&](int i) {
      return Round(x[static_cast<size_t>(std::clamp(i, 0, n - 1))] - level);
    };
    m.JPointAmplitude = value(d.QrsOffset);
    m.STJ20 = value(d.QrsOffset + at(0.02));
    m.STJ60 = value(d.QrsOffset + at(0.06));
    m.STJ80 = value(d.QrsOffset + at(0.08));
    if (d.HasP) {
      for (int i = d.POnset; i <= d.POffset; ++i) {
        m.PAmplitudePlus = std::max(m.PAmplitudePlus, value(i));
        m.PAmplitudeMinus = std::min(m.PAmplitudeMinus, value(i));
      }
      // The terminal part against the level before the P wave (the PR segment carries
      // the atria's repolarisation).
      const int b0 = std::max(0, d.POnset - at(0.02)), b1 = std::max(b0 + 1, d.POnset);
      double before = 0;
      for (int i = b0; i < b1; ++i) before += x[static_cast<size_t>(i)];
      before /= (b1 - b0);
      const int end = std::min(d.POffset + at(kPTerminalReach), d.QrsOnset - at(0.01));
      const std::vector<Lobe> p = Lobes(x, before, d.POnset, end);
      if (!p.empty() && p.back().Extreme < 0) {
        m.PTerminalNegative = Round(p.back().Extreme);
        m.PTerminalNegativeDuration = ms(p.back().To - p.back().From + 1);
      }
    }
    if (d.HasT) {
      for (int i = d.QrsOffset + at(0.04); i <= d.TOffset; ++i) {
        m.TAmplitudePlus = std::max(m.TAmplitudePlus, value(i));
        m.TAmplitudeMinus = std::min(m.TAmplitudeMinus, value(i));
      }
    }
    out.push_back(m);
  }
  return out;
}

}  // namespace ktx::engine
