// Detection and typing against the generator's beats.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/beat_typing.h"
#include "engine/conditioning.h"
#include "engine/ecg_generator.h"
#include "engine/qrs_detector.h"

namespace {

using ktx::engine::DetectQrs;
using ktx::engine::Signal;
constexpr double kPi = 3.14159265358979323846;

testgen::Options Make(double rate, double heartRate, double noise, double seconds = 20) {
  testgen::Options o;
  o.Rate = rate;
  o.HeartRate = heartRate;
  o.NoiseUv = noise;
  o.Seconds = seconds;
  return o;
}

// Adds a triangle of `height` uV and half-width 40 ms at `at` s to a lead.
void Swing(std::vector<double>& x, double rate, double at, double height) {
  const int width = static_cast<int>(0.04 * rate), centre = static_cast<int>(at * rate);
  for (int k = -width; k <= width; ++k)
    x[static_cast<size_t>(centre + k)] += height * (width - std::abs(k)) / width;
}

struct Case {
  const char* Name;
  testgen::Options Options;
  // Something no QRS looks like, done to the signal after it is generated.
  std::function<void(Signal&, const testgen::Ecg&)> Spoil;
};

testgen::Options With(testgen::Options o, const std::function<void(testgen::Options&)>& change) {
  change(o);
  return o;
}

const Case kCases[] = {
    {"clean100", Make(100, 70, 0), nullptr},
    {"clean250", Make(250, 70, 0), nullptr},
    {"clean1000", Make(1000, 70, 0), nullptr},
    {"brady", Make(500, 40, 0), nullptr},
    {"tachy", Make(500, 160, 0), nullptr},
    {"noisy", Make(500, 70, 50), nullptr},
    {"wander", With(Make(360, 80, 20), [](auto& o) { o.WanderUv = 500; }), nullptr},
    {"hum", With(Make(500, 70, 10), [](auto& o) { o.MainsUv = 200; }), nullptr},
    // A lead-off stretch in one lead while the others go on.
    {"leadOff",
     With(Make(500, 70, 0, 10),
          [](auto& o) {
            o.LeadOff = {{3.0, 6.0}};
          }),
     nullptr},
    // A pause of four beats (3.4 s, sinus arrest): nothing in it is a beat.
    {"pause",
     With(Make(500, 70, 20, 30),
          [](auto& o) {
            o.Dropped = {10, 11, 12};
          }),
     nullptr},
    // Tremor in V1: a 6 Hz oscillation as large as the QRS slopes, all the time.
    {"tremor", Make(500, 70, 10, 30),
     [](Signal& s, const testgen::Ecg&) {
       for (size_t i = 0; i < s.Leads[2].size(); ++i)
         s.Leads[2][i] += 600 * std::sin(2 * kPi * 6 * static_cast<double>(i) / s.Rate);
     }},
    // Electrode motion in V1: for six seconds, sharp swings of several millivolts.
    {"motion", Make(500, 70, 10, 30),
     [](Signal& s, const testgen::Ecg&) {
       for (double at = 8.0; at < 14.0; at += 0.7) Swing(s.Leads[2], s.Rate, at, 6000);
     }},
    // II and V1 only, as a Holter records them, with electrode knocks in V1 half way
    // between beats after every fifth one: an 80 ms biphasic swing of 2 mV, in the QRS's
    // band and steeper than its QRS, that only one of the two leads shows.
    {"knocksInOneOfTwoLeads", Make(500, 70, 10, 30),
     [](Signal& s, const testgen::Ecg& ecg) {
       s.Leads = {s.Leads[1], s.Leads[2]};
       s.Gaps = {s.Gaps[1], s.Gaps[2]};
       s.LeadCodes = {s.LeadCodes[1], s.LeadCodes[2]};
       const int half = static_cast<int>(0.04 * s.Rate);
       for (size_t b = 2; b + 1 < ecg.Beats.size(); b += 5) {
         const double at = (ecg.Beats[b].QrsOffset + ecg.Beats[b + 1].QrsOnset) / 2;
         const int centre = static_cast<int>(at * s.Rate);
         for (int k = -half; k <= half; ++k)
           s.Leads[1][static_cast<size_t>(centre + k)] += -1500.0 * std::sin(kPi * k / half);
       }
     }},
};

TEST(Detection, FindsEveryBeatOnceWithinItsQrs) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.Name);
    const testgen::Ecg ecg = testgen::Generate(c.Options);
    Signal s = testgen::ToSignal(ecg);
    if (c.Spoil) c.Spoil(s, ecg);
    const auto beats = DetectQrs(ktx::engine::Condition(s, 40));
    ASSERT_EQ(beats.size(), ecg.Beats.size());
    for (size_t b = 0; b < beats.size(); ++b) {
      const double t = beats[b].Fiducial / c.Options.Rate;
      EXPECT_GE(t, ecg.Beats[b].QrsOnset - 0.01) << "beat " << b;
      EXPECT_LE(t, ecg.Beats[b].QrsOffset + 0.01) << "beat " << b;
    }
  }
}

TEST(Typing, EctopicBeatsFormTheirOwnTypeAndDominantBeatsTypeZero) {
  const testgen::Ecg ecg = testgen::Generate(With(Make(500, 70, 0), [](auto& o) {
    o.Ectopic = {4, 9, 15};
  }));
  const auto s = ktx::engine::Condition(testgen::ToSignal(ecg), 40);
  const auto beats = DetectQrs(s);
  ASSERT_EQ(beats.size(), ecg.Beats.size());
  const auto types = ktx::engine::TypeBeats(s, beats);
  for (size_t b = 0; b < beats.size(); ++b) {
    EXPECT_EQ(types.Types[b], ecg.Beats[b].Ectopic ? 1 : 0) << "beat " << b;
    EXPECT_FALSE(!ecg.Beats[b].Ectopic && types.Premature[b]) << "beat " << b;
  }
  EXPECT_EQ(types.DominantCount, static_cast<int>(beats.size()) - 3);
}

TEST(Typing, CountsPacemakerSpikesOncePerBeat) {
  // Bipolar spikes at 1000 and 500 Hz (a sample high), a unipolar one decaying.
  struct Spike {
    double Rate, Uv;
    bool Decays;
  };
  for (const Spike& k :
       {Spike{1000, 3000, false}, Spike{500, 800, false}, Spike{500, 3000, true}}) {
    testgen::Options o = Make(k.Rate, 70, 0, 10);
    o.SpikeUv = k.Uv;
    o.SpikeDecays = k.Decays;
    const auto spikes = [](const testgen::Options& options) {
      const ktx::engine::Signal s = testgen::ToSignal(testgen::Generate(options));
      return ktx::engine::CountPacemakerSpikes(s, s.UsedLeads()).size();
    };
    o.Paced = {1, 2, 3, 5};
    EXPECT_EQ(spikes(o), 4u) << k.Rate << " Hz, " << k.Uv << " uV";
    o.Paced.clear();
    EXPECT_EQ(spikes(o), 0u) << k.Rate << " Hz, " << k.Uv << " uV";
  }
}

}  // namespace
