// Detection and typing against the generator's beats.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/beat_typing.h"
#include "engine/conditioning.h"
#include "engine/ecg_generator.h"
#include "engine/qrs_detector.h"

namespace {

using ktx::engine::DetectQrs;

struct Case {
  const char* Name;
  double Rate, HeartRate, Noise, Wander, Mains;
};

class DetectionCase : public testing::TestWithParam<Case> {};

TEST_P(DetectionCase, FindsEveryBeatOnceWithinItsQrs) {
  const Case& c = GetParam();
  testgen::Options o;
  o.Rate = c.Rate;
  o.HeartRate = c.HeartRate;
  o.NoiseUv = c.Noise;
  o.WanderUv = c.Wander;
  o.MainsUv = c.Mains;
  o.Seconds = 20;
  const testgen::Ecg ecg = testgen::Generate(o);
  const auto beats = DetectQrs(ktx::engine::Condition(testgen::ToSignal(ecg)));
  ASSERT_EQ(beats.size(), ecg.Beats.size());
  for (size_t b = 0; b < beats.size(); ++b) {
    const double t = beats[b].Fiducial / c.Rate;
    EXPECT_GE(t, ecg.Beats[b].QrsOnset - 0.01) << "beat " << b;
    EXPECT_LE(t, ecg.Beats[b].QrsOffset + 0.01) << "beat " << b;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Generated, DetectionCase,
    testing::Values(Case{"clean100", 100, 70, 0, 0, 0}, Case{"clean250", 250, 70, 0, 0, 0},
                    Case{"clean1000", 1000, 70, 0, 0, 0}, Case{"brady", 500, 40, 0, 0, 0},
                    Case{"tachy", 500, 160, 0, 0, 0}, Case{"noisy", 500, 70, 50, 0, 0},
                    Case{"wander", 360, 80, 20, 500, 0}, Case{"hum", 500, 70, 10, 0, 200}),
    [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.Name); });

TEST(Detection, IgnoresALeadOffStretchWhileTheOtherLeadsGoOn) {
  testgen::Options o;
  o.LeadOff = {{3.0, 6.0}};
  const testgen::Ecg ecg = testgen::Generate(o);
  EXPECT_EQ(DetectQrs(ktx::engine::Condition(testgen::ToSignal(ecg))).size(), ecg.Beats.size());
}

TEST(Typing, EctopicBeatsFormTheirOwnTypeAndDominantBeatsTypeZero) {
  testgen::Options o;
  o.Seconds = 20;
  o.Ectopic = {4, 9, 15};
  const testgen::Ecg ecg = testgen::Generate(o);
  const auto s = ktx::engine::Condition(testgen::ToSignal(ecg));
  const auto beats = DetectQrs(s);
  ASSERT_EQ(beats.size(), ecg.Beats.size());
  const auto types = ktx::engine::TypeBeats(s, beats);
  for (size_t b = 0; b < beats.size(); ++b) {
    if (ecg.Beats[b].Ectopic) {
      EXPECT_EQ(types.Types[b], 1) << "beat " << b;
    } else {
      EXPECT_EQ(types.Types[b], 0) << "beat " << b;
      EXPECT_FALSE(types.Premature[b]) << "beat " << b;
    }
  }
  EXPECT_EQ(types.DominantCount, static_cast<int>(beats.size()) - 3);
}

TEST(Typing, CountsPacemakerSpikesOncePerBeat) {
  testgen::Options o;
  o.Rate = 1000;
  o.Paced = {1, 2, 3, 5};
  EXPECT_EQ(ktx::engine::CountPacemakerSpikes(testgen::ToSignal(testgen::Generate(o))).size(), 4u);
  o.Paced.clear();
  EXPECT_TRUE(ktx::engine::CountPacemakerSpikes(testgen::ToSignal(testgen::Generate(o))).empty());
}

}  // namespace
