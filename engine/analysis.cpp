#include "engine/analysis.h"

#include <algorithm>
#include <cmath>

#include "engine/atrial_activity.h"
#include "engine/conditioning.h"
#include "engine/p_wave_train.h"
#include "engine/wave_measurements.h"

namespace ktx::engine {
namespace {

constexpr double kDetectionLowPassHz = 40;
// How far the reference beat's P wave must stand above what the beats differ from it.
constexpr double kConductedCoupling = 4;
// Atrial waves between the beats count as fibrillation or flutter from this size, when
// they run on for this share of the time (P waves that do not conduct are short events
// on a flat line) and their dominant frequency reaches 240 a minute.
constexpr double kFibrillatoryFromUv = 8, kFibrillatoryContinuity = 0.6, kFibrillatoryFromHz = 4;
// A beat shape is paced when at least 1 / kPacedShapeShare of its beats, and
// kPacedShapeMin, carry a spike.
constexpr int kPacedShapeShare = 5, kPacedShapeMin = 2;
// Where a pacing spike lies before the QRS onset: a ventricular one within
// kVentricularSpikeBefore (seconds), an atrial one before that, up to kAtrialSpikeBefore
// (a long paced AV delay).
constexpr double kVentricularSpikeBefore = 0.08, kAtrialSpikeBefore = 0.35;

double PeakToPeak(const std::vector<double>& x, const std::vector<uint8_t>& gap) {
  double lo = 0, hi = 0;
  bool any = false;
  for (size_t i = 0; i < x.size(); ++i) {
    if (gap[i]) continue;
    lo = any ? std::min(lo, x[i]) : x[i];
    hi = any ? std::max(hi, x[i]) : x[i];
    any = true;
  }
  return hi - lo;
}

double GapShare(const std::vector<uint8_t>& gap) {
  size_t count = 0;
  for (uint8_t g : gap) count += g;
  return gap.empty() ? 1.0 : static_cast<double>(count) / static_cast<double>(gap.size());
}

// 13 for a signal too short or flat to analyse, 14 for a lead that is off, else 0.
int16_t CheckSignal(const Signal& s) {
  if (s.Leads.empty() || s.Rate < 50 || s.Rate > 2000 ||
      s.Length() < static_cast<size_t>(s.Samples(1.0)))
    return kResultCannotAnalyse;
  bool anySignal = false, anyOff = false;
  for (size_t l = 0; l < s.Leads.size(); ++l) {
    const bool off = GapShare(s.Gaps[l]) > 0.5 || PeakToPeak(s.Leads[l], s.Gaps[l]) < 10.0;
    anyOff = anyOff || off;
    anySignal = anySignal || !off;
  }
  if (!anySignal) return kResultCannotAnalyse;
  return anyOff ? kResultLeadOff : kResultOk;
}

int Round(double v) {
  return static_cast<int>(std::lround(v));
}

// Per minute from the median interval between successive P waves; 0 with fewer than
// three.
int AtrialRate(const std::vector<int>& onsets) {
  if (onsets.size() < 3) return 0;
  std::vector<int> pp;
  for (size_t i = 1; i < onsets.size(); ++i) pp.push_back(onsets[i] - onsets[i - 1]);
  std::nth_element(pp.begin(), pp.begin() + static_cast<long>(pp.size() / 2), pp.end());
  const int median = pp[pp.size() / 2];
  return median > 0 ? Round(60000.0 / median) : 0;
}

void RhythmFindings(const Signal& s, const std::vector<DetectedBeat>& beats, const TypedBeats& t,
                    Findings& f) {
  f.BeatCount = static_cast<int>(beats.size());
  std::vector<double> rr;
  for (size_t b = 1; b < beats.size(); ++b)
    if (t.Types[b] == 0 && t.Types[b - 1] == 0 && !t.Premature[b])
      rr.push_back((t.Fiducials[b] - t.Fiducials[b - 1]) * 1000.0 / s.Rate);
  if (rr.empty() && beats.size() > 1)
    for (size_t b = 1; b < beats.size(); ++b)
      rr.push_back((t.Fiducials[b] - t.Fiducials[b - 1]) * 1000.0 / s.Rate);
  for (size_t b = 0; b < beats.size(); ++b) {
    if (t.Types[b] != 0 && t.Types[b] != kUnclassified) ++f.VentricularEctopics;
    if (t.Premature[b]) ++f.SupraventricularEctopics;
    BeatFindings beat;
    beat.Kind = t.Types[b] == kUnclassified ? 'U'
                : t.Types[b] != 0           ? 'V'
                : t.Premature[b]            ? 'S'
                                            : 'N';
    f.Beats.push_back(beat);
  }
  if (rr.empty()) return;
  double mean = 0;
  for (double v : rr) mean += v;
  mean /= static_cast<double>(rr.size());
  double var = 0, succ = 0;
  for (size_t i = 0; i < rr.size(); ++i) {
    var += (rr[i] - mean) * (rr[i] - mean);
    if (i > 0) succ += (rr[i] - rr[i - 1]) * (rr[i] - rr[i - 1]);
  }
  f.MeanRR = Round(mean);
  f.HeartRate = Round(60000.0 / mean);
  f.RRStdDev = Round(std::sqrt(var / static_cast<double>(rr.size())));
  f.RRIrregularity =
      rr.size() > 1 ? std::sqrt(succ / static_cast<double>(rr.size() - 1)) / mean : 0;
}

// A beat is paced when a spike comes just before its QRS peak: ventricular pacemakers
// fire some tens of ms ahead of the onset they cause, and the spike itself blurs that
// onset on the reference beat, so the window runs from before the onset to the peak.
// An atrial spike comes a PR interval earlier, before the P wave it makes. At 500 Hz a
// bipolar spike, shorter than a sample, shows in some beats only: a beat shape that
// carries a spike in at least a fifth of its beats (and two) is paced in all of them.
void MarkPacedBeats(const std::vector<QrsComplex>& complexes, const std::vector<int>& spikes,
                    double rate, std::vector<BeatFindings>& beats) {
  const int before = static_cast<int>(std::lround(kVentricularSpikeBefore * rate));
  const int atrialFrom = static_cast<int>(std::lround(kAtrialSpikeBefore * rate));
  auto spikeIn = [&](int from, int to) {
    const auto first = std::lower_bound(spikes.begin(), spikes.end(), from);
    return first != spikes.end() && *first <= to;
  };
  std::vector<int> members, ventricular, atrial;
  for (const QrsComplex& q : complexes) {
    const size_t type = static_cast<size_t>(std::clamp(q.Type, 0, kUnclassified));
    if (members.size() <= type) {
      members.resize(type + 1, 0);
      ventricular.resize(type + 1, 0);
      atrial.resize(type + 1, 0);
    }
    ++members[type];
    ventricular[type] += spikeIn(q.Onset - before, q.Fiducial);
    atrial[type] += spikeIn(q.Onset - atrialFrom, q.Onset - before - 1);
  }
  auto shape = [&](const std::vector<int>& spiked, size_t type) {
    return type != kUnclassified && spiked[type] >= kPacedShapeMin &&
           spiked[type] * kPacedShapeShare >= members[type];
  };
  for (size_t b = 0; b < complexes.size() && b < beats.size(); ++b) {
    const QrsComplex& q = complexes[b];
    const size_t type = static_cast<size_t>(std::clamp(q.Type, 0, kUnclassified));
    beats[b].Paced = shape(ventricular, type) || spikeIn(q.Onset - before, q.Fiducial);
    beats[b].AtrialPaced =
        shape(atrial, type) || spikeIn(q.Onset - atrialFrom, q.Onset - before - 1);
  }
}

}  // namespace

Analysis Analyse(const Signal& raw, bool perLead) {
  Analysis a;
  a.Result = CheckSignal(raw);
  if (a.Result != kResultOk) return a;
  Signal base = WithoutBaseline(raw);
  base.Independent = IndependentLeads(raw);
  // Pacemaker spikes are found on the raw leads and then bridged: steps of several
  // millivolts within a sample would otherwise stand for the QRS's steepest slope.
  a.PacemakerSpikes = CountPacemakerSpikes(raw, base.UsedLeads());
  BridgeSpikes(base, a.PacemakerSpikes);
  const Signal s = DetectionBand(base, kDetectionLowPassHz);
  double quality = 0;
  const std::vector<DetectedBeat> beats = DetectQrs(s, &quality);
  if (beats.empty()) {
    a.Result = kResultNoQrs;
    return a;
  }
  a.Types = TypeBeats(s, beats);
  // Noise gives "beats" barely above the feature's usual level, of every shape.
  if (beats.size() >= 4 && quality < 3) {
    a.Result = kResultNoQrs;
    return a;
  }
  // The reference beat, a median of several beats and so quieter than any one, is
  // built from leads filtered less, so that the edges of its waves stay sharp.
  NotchWhereHum(base, a.Types.Fiducials);
  a.Reference = MedianBeat(base, beats, a.Types);
  SmoothToNoise(a.Reference);
  if (a.Reference.BeatsUsed == 0) {
    a.Result = kResultNoQrs;
    return a;
  }
  Findings& f = a.Found;
  RhythmFindings(s, beats, a.Types, f);
  a.Waves = Delineate(a.Reference, f.MeanRR / 1000.0);
  if (!a.Waves.HasT) {
    a.Result = kResultNoPOrT;
    return a;
  }
  // A P wave counts only where every beat shows it at the same place: one that
  // conducts does, fibrillation and flutter waves drift against the QRS.
  if (a.Waves.HasP && Coupling(base, a.Reference, a.Waves.POnset, a.Waves.POffset,
                               a.Waves.QrsOnset) < kConductedCoupling) {
    a.Waves.HasP = false;
    a.Waves.POnset = a.Waves.POffset = -1;
  }
  if (!a.Waves.HasP) {
    const AtrialResidue residue =
        ResidueBetweenBeats(base, a.Types.Fiducials, a.Types.Types, a.Reference);
    f.FibrillatoryWaves = residue.RmsUv >= kFibrillatoryFromUv &&
                          residue.Continuity >= kFibrillatoryContinuity &&
                          residue.DominantHz >= kFibrillatoryFromHz;
    if (f.FibrillatoryWaves) {
      f.AtrialWaveRate = Round(60 * residue.DominantHz);
      f.AtrialWaveRegularity = residue.Regularity;
    }
  }
  // Every P wave, conducted or not, for the P-QRS relation beat by beat.
  const PWaveTrain train = FindPWaves(base, a.Types.Fiducials, a.Types.Types, a.Reference, a.Waves);
  for (int onset : train.Onsets) f.PWaves.push_back(Round(onset * 1000.0 / s.Rate));
  f.PWaveShapes = train.Shapes;
  f.AtrialRate = AtrialRate(f.PWaves);
  f.PacemakerSpikes = static_cast<int>(a.PacemakerSpikes.size());

  const Delineation& d = a.Waves;
  auto ms = [&](int samples) { return Round(samples * 1000.0 / s.Rate); };
  f.PWavePresent = d.HasP;
  f.MeanPP = d.HasP ? f.MeanRR : 0;
  f.PDuration = d.HasP ? ms(d.POffset - d.POnset) : 0;
  f.PRInterval = d.HasP ? ms(d.QrsOnset - d.POnset) : 0;
  f.QRSDuration = ms(d.QrsOffset - d.QrsOnset);
  f.QTInterval = ms(d.TOffset - d.QrsOnset);
  if (f.MeanRR > 0) {
    const double rrSeconds = f.MeanRR / 1000.0;
    f.QTcBazett = Round(f.QTInterval / std::sqrt(rrSeconds));
    f.QTcFridericia = Round(f.QTInterval / std::cbrt(rrSeconds));
  }
  const FrontalAxes axes = Axes(a.Reference, raw.LeadCodes, d);
  f.PAxis = axes.P;
  f.QRSAxis = axes.Qrs;
  f.TAxis = axes.T;
  if (perLead) {
    f.Leads = MeasureLeads(a.Reference, raw.LeadCodes, d);
  } else {
    for (uint16_t code : raw.LeadCodes) f.Leads.push_back(LeadFindings{code});
  }

  const int fromOnset = d.QrsOnset - a.Reference.Fiducial;
  const int toOffset = d.QrsOffset - a.Reference.Fiducial;
  const int last = static_cast<int>(s.Length()) - 1;
  for (size_t b = 0; b < beats.size(); ++b) {
    const int fid = a.Types.Fiducials[b];
    a.Complexes.push_back({a.Types.Types[b], std::clamp(fid + fromOnset, 0, last), fid,
                           std::clamp(fid + toOffset, 0, last)});
  }
  MarkPacedBeats(a.Complexes, a.PacemakerSpikes, s.Rate, f.Beats);
  for (size_t b = 0; b < a.Complexes.size() && b < f.Beats.size(); ++b) {
    f.Beats[b].QrsOnset = ms(a.Complexes[b].Onset);
    f.PacedBeats += f.Beats[b].Paced;
    f.AtrialPacedBeats += f.Beats[b].AtrialPaced;
  }
  return a;
}

}  // namespace ktx::engine
