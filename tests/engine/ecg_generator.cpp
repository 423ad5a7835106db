#include "engine/ecg_generator.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "support/section1_bytes.h"
#include "support/waveform_builder.h"

namespace testgen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kQrsZ = -0.5, kPZ = 0.2, kTZ = 0.3;
// Chest lead directions in the horizontal plane, degrees from the patient's left.
constexpr double kChest[6] = {120, 100, 80, 60, 30, 0};

double HalfSine(double t, double from, double length) {
  if (t < from || t > from + length) return 0;
  return std::sin(kPi * (t - from) / length);
}

// Rises as a raised cosine over the first 65 %, falls as a quarter cosine that ends
// with its steepest slope.
double TShape(double t, double from, double length) {
  const double rise = 0.65 * length;
  if (t < from || t > from + length) return 0;
  if (t < from + rise) return (1 - std::cos(kPi * (t - from) / rise)) / 2;
  return std::cos(kPi / 2 * (t - from - rise) / (length - rise));
}

struct BeatPlan {
  BeatTruth Truth;
  double QrsDuration;
  double QrsAxis, TAxis, TSign;
  bool Paced;
};

}  // namespace

double Projection(size_t lead, double axisDegrees, double z) {
  const double a = axisDegrees * kPi / 180;
  const double x = std::cos(a), y = std::sin(a);
  if (lead == 0) return x;
  if (lead == 1) return x * std::cos(kPi / 3) + y * std::sin(kPi / 3);
  const double c = kChest[lead - 2] * kPi / 180;
  return 1.2 * (x * std::cos(c) + z * std::sin(c));
}

Ecg Generate(const Options& o) {
  Ecg ecg;
  ecg.Rate = o.Rate;
  ecg.LeadCodes = {1, 2, 3, 4, 5, 6, 7, 8};
  const size_t n = static_cast<size_t>(std::lround(o.Seconds * o.Rate));
  const double rr = 60.0 / o.HeartRate;
  std::vector<BeatPlan> plans;
  std::vector<double> pWaves;  // onsets
  std::vector<bool> pSpiked;   // started by an atrial pacing spike
  auto plan = [&](double onset, int b, bool ectopic, double pOnset) {
    BeatPlan p{};
    p.QrsDuration = ectopic ? 0.14 : o.QrsDuration + o.DeltaWave;
    p.QrsAxis = ectopic ? o.QrsAxis + 150 : o.QrsAxis;
    p.TAxis = ectopic ? o.QrsAxis + 150 : o.TAxis;
    p.TSign = ectopic ? -1 : 1;
    p.Paced = std::find(o.Paced.begin(), o.Paced.end(), b) != o.Paced.end();
    const double start = ectopic ? onset : onset - o.DeltaWave;
    p.Truth = {pOnset,
               pOnset < 0 ? -1 : pOnset + o.PDuration,
               start,
               start + p.QrsDuration,
               start + o.QT + (ectopic ? 0.04 : 0),
               ectopic};
    plans.push_back(p);
  };
  const double pp = o.AtrialRate > 0 ? 60.0 / o.AtrialRate : 0;
  if (o.AtrialRate > 0 && !o.Dissociated) {
    for (int k = 0; 0.2 + k * pp < o.Seconds; ++k) {
      const double p = 0.2 + k * pp,
                   pr = o.PRs.empty() ? o.PR : o.PRs[static_cast<size_t>(k) % o.PRs.size()];
      pWaves.push_back(p);
      pSpiked.push_back(false);
      if (pr >= 0 && p + pr + o.QT + 0.05 < o.Seconds)
        plan(p + pr, static_cast<int>(plans.size()), false, p);
    }
  } else {
    if (o.AtrialRate > 0)
      for (double p = 0.2; p < o.Seconds; p += pp) {
        pWaves.push_back(p);
        pSpiked.push_back(false);
      }
    double qrsOnset = 0.45;
    for (int b = 0; qrsOnset + o.QT + 0.05 < o.Seconds; ++b) {
      const bool ectopic = std::find(o.Ectopic.begin(), o.Ectopic.end(), b) != o.Ectopic.end();
      const double onset = ectopic ? qrsOnset - 0.35 * rr : qrsOnset;
      const double pOnset = ectopic || o.AtrialRate > 0 ? -1 : onset - o.PR;
      if (std::find(o.Dropped.begin(), o.Dropped.end(), b) == o.Dropped.end()) {
        plan(onset, b, ectopic, pOnset);
        if (pOnset >= 0) {
          pWaves.push_back(pOnset);
          pSpiked.push_back(std::find(o.AtrialPaced.begin(), o.AtrialPaced.end(), b) !=
                            o.AtrialPaced.end());
        }
      }
      qrsOnset += rr;
      if (ectopic) qrsOnset += 0.35 * rr;  // compensatory pause
    }
  }
  std::mt19937 random(o.Seed);
  std::normal_distribution<double> gauss(0.0, 1.0);
  for (size_t lead = 0; lead < 8; ++lead) {
    std::vector<double> x(n, 0.0);
    const double pScale = Projection(lead, o.PAxis, kPZ);
    for (size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / o.Rate;
      double v = 0;
      for (size_t k = 0; k < pWaves.size(); ++k) {
        const double from = pWaves[k];
        if (t < from - 0.01 || t > from + o.PDuration) continue;
        v += o.PAmplitude * pScale * HalfSine(t, from, o.PDuration);
        if (pSpiked[k] && static_cast<double>(i) == std::round((from - 0.004) * o.Rate))
          v += o.SpikeUv;
      }
      for (const BeatPlan& p : plans) {
        const BeatTruth& w = p.Truth;
        if (t < w.QrsOnset - 0.01 || t > w.TOffset + 0.01) continue;
        const double d = p.QrsDuration - (w.Ectopic ? 0 : o.DeltaWave);
        const double on = w.QrsOnset + (w.Ectopic ? 0 : o.DeltaWave);
        const double q = Projection(lead, p.QrsAxis, kQrsZ);
        v += q * (-o.QAmplitude * HalfSine(t, on, 0.15 * d) +
                  o.RAmplitude * HalfSine(t, on + 0.15 * d, 0.5 * d) -
                  o.SAmplitude * HalfSine(t, on + 0.65 * d, 0.35 * d));
        if (!w.Ectopic && o.DeltaWave > 0)
          v += q * o.DeltaUv * HalfSine(t, w.QrsOnset, 2 * o.DeltaWave);
        const double tStart = w.QrsOffset + 0.06;
        v += p.TSign * o.TAmplitude * Projection(lead, p.TAxis, kTZ) *
             TShape(t, tStart, w.TOffset - tStart);
        const double spike = std::round((w.QrsOnset - 0.004) * o.Rate);
        const double after = static_cast<double>(i) - spike;
        if (p.Paced && after == 0) v += o.SpikeUv;
        if (p.Paced && o.SpikeDecays && after > 0 && after < 0.015 * o.Rate)
          v += o.SpikeUv * std::exp(-after / (0.003 * o.Rate));
      }
      v += o.WanderUv * (std::sin(2 * kPi * 0.3 * t) + 0.5 * std::sin(2 * kPi * 0.13 * t + 1));
      v += o.MainsUv * std::sin(2 * kPi * o.MainsHz * t);
      if (o.NoiseUv > 0) v += o.NoiseUv * gauss(random);
      x[i] = v;
    }
    std::vector<uint8_t> gaps(n, 0);
    if (lead == static_cast<size_t>(o.LeadOffLead))
      for (const auto& [from, to] : o.LeadOff)
        for (size_t i = static_cast<size_t>(from * o.Rate);
             i < n && static_cast<double>(i) < to * o.Rate; ++i)
          gaps[i] = 1;
    ecg.Leads.push_back(std::move(x));
    ecg.Gaps.push_back(std::move(gaps));
  }
  if (o.TwelveLeads) {
    // Einthoven and Goldberger from I and II.
    const double weights[4][2] = {{-1, 1}, {-0.5, -0.5}, {1, -0.5}, {-0.5, 1}};
    for (int k = 0; k < 4; ++k) {
      std::vector<double> x(n);
      for (size_t i = 0; i < n; ++i)
        x[i] = weights[k][0] * ecg.Leads[0][i] + weights[k][1] * ecg.Leads[1][i];
      ecg.Leads.push_back(std::move(x));
      ecg.Gaps.push_back(ecg.Gaps[0]);
      ecg.LeadCodes.push_back(static_cast<uint16_t>(61 + k));
    }
  }
  for (const BeatPlan& p : plans) ecg.Beats.push_back(p.Truth);
  return ecg;
}

test::Bytes ScpRecord(const Ecg& ecg, uint16_t avm) {
  std::vector<test::LeadRange> ranges;
  std::vector<std::vector<int16_t>> samples;
  for (size_t l = 0; l < ecg.Leads.size(); ++l) {
    const auto count = static_cast<uint32_t>(ecg.Leads[l].size());
    ranges.push_back({1, count, static_cast<uint8_t>(ecg.LeadCodes[l])});
    std::vector<int16_t> lead;
    for (size_t i = 0; i < count; ++i) {
      const long v = std::lround(ecg.Leads[l][i] * 1000.0 / avm);
      lead.push_back(ecg.Gaps[l][i] ? int16_t{2032}
                                    : static_cast<int16_t>(std::max(-2031L, std::min(2031L, v))));
    }
    samples.push_back(std::move(lead));
  }
  const auto interval = static_cast<uint16_t>(std::lround(1e6 / ecg.Rate));
  test::RecordBuilder record;
  record.Section(1, test::Body({test::TextTag(0, "Test"), test::Tag(14, test::Bytes(36, 0)),
                                test::Tag(25, {0xEA, 0x07, 1, 1}), test::Tag(26, {10, 0, 0}),
                                test::EndTag()}));
  record.Section(3, test::Section3Body(static_cast<uint8_t>(0x04 | (ranges.size() << 3)), ranges));
  record.Section(6, test::SampleDataBody(avm, interval, samples));
  return record.Build();
}

}  // namespace testgen
