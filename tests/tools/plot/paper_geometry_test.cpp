// ECG paper geometry read back from the SVG: traces at time x speed and amplitude x
// gain, the 1 mm / 5 mm grid, the calibration pulse and breaks at lead-off markers.
#include <gtest/gtest.h>

#include <algorithm>

#include "plot/svg_writer.h"
#include "plot_fixture.h"

namespace {

using scpecg::plot::Point;
using scpecg::plot::PlotOptions;

// The SVG keeps three decimals.
constexpr double kTolerance = 0.0006;

PlotOptions Options(double speed, double gain) {
  PlotOptions options;
  options.Speed = speed;
  options.Gain = gain;
  return options;
}

TEST(PlotGeometry, TraceIsTimeTimesSpeedAndAmplitudeTimesGain) {
  // One lead at 250 Hz (4000 us), 2.5 uV per unit.
  CReader reader;
  plottest::Load(plottest::Record({2}, {{0, 100, -250, 1000, 2031, -2000, 40, 0}}, 2500, 4000),
                 &reader);
  // 100 units = 0.25 mV; at 10 mm/mV 2.5 mm above the baseline (y grows downwards).
  const double mmAt25And10[8] = {0, 2.5, -6.25, 25, 50.775, -50, 1, 0};
  struct Case {
    double Speed, Gain, Step, Scale;
  } cases[] = {{25, 10, 0.1, 1.0}, {50, 20, 0.2, 2.0}, {25, 5, 0.1, 0.5}, {50, 10, 0.2, 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Speed << " mm/s, " << c.Gain << " mm/mV");
    const plottest::Svg svg =
        plottest::ParseSvg(scpecg::plot::SvgDocument(plottest::Plot(reader, Options(c.Speed, c.Gain))));
    ASSERT_EQ(svg.Traces.size(), 1u);
    ASSERT_EQ(svg.Calibration.size(), 1u);
    EXPECT_EQ(svg.Traces[0].first, "II");
    const std::vector<Point>& points = svg.Traces[0].second;
    ASSERT_EQ(points.size(), 8u);
    const double baseline = svg.Calibration[0].front().Y;
    // The trace starts where the calibration pulse ends.
    EXPECT_NEAR(points[0].X, svg.Calibration[0].back().X, kTolerance);
    for (size_t k = 0; k < points.size(); ++k) {
      EXPECT_NEAR(points[k].X - points[0].X, static_cast<double>(k) * c.Step, kTolerance) << "sample " << k;
      EXPECT_NEAR(baseline - points[k].Y, mmAt25And10[k] * c.Scale, kTolerance) << "sample " << k;
    }
  }
}

TEST(PlotGeometry, GridIsOneAndFiveMillimetresInLightRed) {
  CReader reader;
  plottest::Load(plottest::Record({1, 2}, {{0, 1}, {2, 3}}, 1000, 2000), &reader);
  const plottest::Svg svg = plottest::ParseSvg(scpecg::plot::SvgDocument(plottest::Plot(reader, {})));
  for (const auto& [id, step] : {std::pair<std::string, double>{"minor-grid", 1.0},
                                 std::pair<std::string, double>{"major-grid", 5.0}}) {
    SCOPED_TRACE(id);
    for (const auto* lines : {&svg.VerticalLines.at(id), &svg.HorizontalLines.at(id)}) {
      ASSERT_GT(lines->size(), 5u);
      for (size_t k = 1; k < lines->size(); ++k) {
        EXPECT_NEAR((*lines)[k] - (*lines)[k - 1], step, kTolerance);
      }
    }
    // Light red: strong red, green and blue equal and weaker.
    const std::string& stroke = svg.Strokes.at(id);
    ASSERT_EQ(stroke.size(), 7u);
    const int red = std::stoi(stroke.substr(1, 2), nullptr, 16);
    EXPECT_GE(red, 0xe0);
    EXPECT_EQ(stroke.substr(3, 2), stroke.substr(5, 2));
    EXPECT_LT(std::stoi(stroke.substr(3, 2), nullptr, 16), red);
  }
  // The thick lines lie on thin ones, and both rule the same area.
  const std::vector<double>& minor = svg.VerticalLines.at("minor-grid");
  const std::vector<double>& major = svg.VerticalLines.at("major-grid");
  EXPECT_EQ(major.front(), minor.front());
  EXPECT_EQ(major.back(), minor.back());
  EXPECT_EQ((minor.size() - 1) % 5, 0u);
  EXPECT_EQ(major.size(), (minor.size() - 1) / 5 + 1);
}

TEST(PlotGeometry, CalibrationPulseIsOneMillivoltForTwoHundredMilliseconds) {
  CReader reader;
  plottest::Load(plottest::Record({1, 2}, {{0, 1}, {2, 3}}, 1000, 2000), &reader);
  for (const double gain : {5.0, 10.0, 20.0}) {
    for (const double speed : {25.0, 50.0}) {
      SCOPED_TRACE(testing::Message() << speed << " mm/s, " << gain << " mm/mV");
      const plottest::Svg svg =
          plottest::ParseSvg(scpecg::plot::SvgDocument(plottest::Plot(reader, Options(speed, gain))));
      // Two leads that are not a twelve-lead set: one row each, one pulse per row.
      ASSERT_EQ(svg.Calibration.size(), 2u);
      for (const std::vector<Point>& pulse : svg.Calibration) {
        const auto [top, bottom] = std::minmax_element(
            pulse.begin(), pulse.end(), [](const Point& a, const Point& b) { return a.Y < b.Y; });
        EXPECT_NEAR(bottom->Y - top->Y, gain, kTolerance);  // 10 mm at 10 mm/mV
        EXPECT_NEAR(pulse.front().Y, pulse.back().Y, kTolerance);
        // The flat top lasts 0.2 s.
        const auto first = std::find_if(pulse.begin(), pulse.end(),
                                        [&](const Point& p) { return p.Y == top->Y; });
        const auto last = std::find_if(pulse.rbegin(), pulse.rend(),
                                       [&](const Point& p) { return p.Y == top->Y; });
        EXPECT_NEAR(last->X - first->X, 0.2 * speed, kTolerance);
      }
    }
  }
}

TEST(PlotGeometry, LeadOffMarkersBreakRhythmTracesOnly) {
  const std::vector<int16_t> samples = {10, 20, 2032, 2033, 30, 2031, 2035, 2034, 60, 70};
  CReader rhythm;
  plottest::Load(plottest::Record({5}, {samples}, 1000, 2000), &rhythm);
  const plottest::Svg svg = plottest::ParseSvg(scpecg::plot::SvgDocument(plottest::Plot(rhythm, {})));
  ASSERT_EQ(svg.Traces.size(), 3u);
  // 2031 and 2035 are signal; 2032, 2033 and 2034 are gaps in time, not spikes.
  const size_t runs[3][2] = {{0, 2}, {4, 3}, {8, 2}};
  const double start = svg.Traces[0].second[0].X;
  for (size_t r = 0; r < 3; ++r) {
    const std::vector<Point>& points = svg.Traces[r].second;
    ASSERT_EQ(points.size(), runs[r][1]);
    EXPECT_NEAR(points[0].X - start, static_cast<double>(runs[r][0]) * 0.05, kTolerance);  // 2 ms at 25 mm/s
  }
  const double baseline = svg.Calibration[0][0].Y;
  EXPECT_NEAR(baseline - svg.Traces[1].second[1].Y, 20.31, kTolerance);
  EXPECT_NEAR(baseline - svg.Traces[1].second[2].Y, 20.35, kTolerance);

  // Reference beats carry no markers: the same values are one unbroken trace.
  CReader median;
  plottest::Load(plottest::Record({5}, {samples}, 1000, 2000, true), &median);
  PlotOptions options;
  options.Median = true;
  const plottest::Svg beats = plottest::ParseSvg(scpecg::plot::SvgDocument(plottest::Plot(median, options)));
  ASSERT_EQ(beats.Traces.size(), 1u);
  EXPECT_EQ(beats.Traces[0].second.size(), samples.size());
}

}  // namespace
