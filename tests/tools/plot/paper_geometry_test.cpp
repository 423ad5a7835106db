// ECG paper geometry read back from the SVG: traces at time x speed and amplitude x
// gain, the 1 mm / 5 mm grid, the calibration pulse, breaks at lead-off markers and the
// stretch of time each panel shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "plot/svg_writer.h"
#include "plot_fixture.h"

namespace {

using scpecg::plot::PlotOptions;
using scpecg::plot::Point;

constexpr double kTolerance = 0.0006;  // the SVG keeps three decimals

plottest::Svg PlotSvg(const CReader& reader, double speed = 25, double gain = 10,
                      bool median = false, bool foreign = false) {
  PlotOptions options;
  options.Speed = speed;
  options.Gain = gain;
  options.Median = median;
  return plottest::ParseSvg(scpecg::plot::SvgDocument(plottest::Plot(reader, options, foreign)));
}

TEST(PlotGeometry, TracesGridAndPulsesFollowSpeedAndGain) {
  CReader reader;  // 250 Hz, 2.5 uV per unit; a second, flat lead makes a second row
  plottest::Load(plottest::Record(
                     {2, 4}, {{0, 100, -250, 1000, 2031, -2000, 40, 0}, std::vector<int16_t>(500)},
                     2500, 4000),
                 &reader);
  // At 10 mm/mV: 100 units = 0.25 mV = 2.5 mm above the baseline (y grows downwards).
  const double mmAtGain10[8] = {0, 2.5, -6.25, 25, 50.775, -50, 1, 0};
  for (const double speed : {25.0, 50.0}) {
    for (const double gain : {5.0, 10.0, 20.0}) {
      SCOPED_TRACE(testing::Message() << speed << " mm/s, " << gain << " mm/mV");
      const plottest::Svg svg = PlotSvg(reader, speed, gain);
      ASSERT_EQ(svg.Traces.size(), 2u);
      ASSERT_EQ(svg.Calibration.size(), 2u);  // one pulse per row
      EXPECT_EQ(svg.Traces[0].first, "II");
      const std::vector<Point>& points = svg.Traces[0].second;
      ASSERT_EQ(points.size(), 8u);
      const double baseline = svg.Calibration[0].front().Y;
      EXPECT_NEAR(points[0].X, svg.Calibration[0].back().X, kTolerance);  // after the pulse
      for (size_t k = 0; k < points.size(); ++k) {
        EXPECT_NEAR(points[k].X - points[0].X, static_cast<double>(k) * 0.004 * speed, kTolerance);
        EXPECT_NEAR(baseline - points[k].Y, mmAtGain10[k] * gain / 10, kTolerance);
      }
      // Ruled every millimetre and every five, whatever the speed and gain.
      for (const auto& [id, step] : {std::pair<std::string, double>{"minor-grid", 1.0},
                                     std::pair<std::string, double>{"major-grid", 5.0}}) {
        for (const auto* lines : {&svg.VerticalLines.at(id), &svg.HorizontalLines.at(id)}) {
          ASSERT_GT(lines->size(), 5u) << id;
          for (size_t k = 1; k < lines->size(); ++k) {
            EXPECT_NEAR((*lines)[k] - (*lines)[k - 1], step, kTolerance) << id;
          }
        }
      }
      EXPECT_EQ(svg.VerticalLines.at("minor-grid").back(),
                svg.VerticalLines.at("major-grid").back());
      // Each pulse gain mm high (1 mV), its flat top 0.2 s long, back to the baseline.
      for (const std::vector<Point>& pulse : svg.Calibration) {
        const auto top = std::min_element(pulse.begin(), pulse.end(),
                                          [](const Point& a, const Point& b) { return a.Y < b.Y; });
        EXPECT_NEAR(pulse.front().Y - top->Y, gain, kTolerance);
        EXPECT_NEAR(pulse.front().Y, pulse.back().Y, kTolerance);
        const auto last = std::find_if(pulse.rbegin(), pulse.rend(),
                                       [&](const Point& p) { return p.Y == top->Y; });
        EXPECT_NEAR(last->X - top->X, 0.2 * speed, kTolerance);
      }
    }
  }
}

TEST(PlotGeometry, LeadOffMarkersBreakRhythmTracesOnly) {
  const std::vector<int16_t> samples = {10, 20, 2032, 2033, 30, 2031, 2035, 2034, 60, 70};
  CReader rhythm;
  plottest::Load(plottest::Record({5}, {samples}, 1000, 2000), &rhythm);
  const plottest::Svg svg = PlotSvg(rhythm);
  // 2032, 2033 and 2034 leave gaps in time; 2031 and 2035 are signal.
  ASSERT_EQ(svg.Traces.size(), 3u);
  const size_t runs[3][2] = {{0, 2}, {4, 3}, {8, 2}};  // first sample, samples
  for (size_t r = 0; r < 3; ++r) {
    ASSERT_EQ(svg.Traces[r].second.size(), runs[r][1]);
    EXPECT_NEAR(svg.Traces[r].second[0].X - svg.Traces[0].second[0].X,
                static_cast<double>(runs[r][0]) * 0.05, kTolerance);  // 2 ms at 25 mm/s
  }
  EXPECT_NEAR(svg.Calibration[0][0].Y - svg.Traces[1].second[2].Y, 20.35, kTolerance);

  // Reference beats carry no markers: the same values make one unbroken trace.
  CReader median;
  plottest::Load(plottest::Record({5}, {samples}, 1000, 2000, true), &median);
  const plottest::Svg beats = PlotSvg(median, 25, 10, true);
  ASSERT_EQ(beats.Traces.size(), 1u);
  EXPECT_EQ(beats.Traces[0].second.size(), samples.size());

  // Another writer's record: the values are signal, and the median (2031, the sixth of
  // the ten sorted) sits on the row's baseline; 10 lies 2.021 mV = 20.21 mm below it.
  const plottest::Svg foreign = PlotSvg(rhythm, 25, 10, false, true);
  ASSERT_EQ(foreign.Traces.size(), 1u);
  ASSERT_EQ(foreign.Traces[0].second.size(), samples.size());
  EXPECT_NEAR(foreign.Traces[0].second[5].Y, foreign.Calibration[0][0].Y, kTolerance);
  EXPECT_NEAR(foreign.Traces[0].second[0].Y - foreign.Calibration[0][0].Y, 20.21, kTolerance);
}

TEST(PlotGeometry, EachPanelShowsItsStretchOfTheWindow) {
  // Twelve leads of 10 s at 100 Hz whose samples are their own numbers, 1 uV each:
  // sample k stands k / 100 mm above the baseline at 10 mm/mV.
  std::vector<int16_t> ramp(1000);
  for (size_t k = 0; k < ramp.size(); ++k) ramp[k] = static_cast<int16_t>(k);
  CReader reader;
  plottest::Load(plottest::Record(plottest::kTwelve, plottest::Samples(12, ramp), 1000, 10000),
                 &reader);
  const scpecg::plot::Sheet sheet = plottest::Plot(reader, {});
  ASSERT_EQ(sheet.Traces.size(), 13u);  // 3x4 and the rhythm strip
  const double left = sheet.Calibration[0].Points.back().X;
  // Lead, its first sample, samples shown, x of the panel (quarters of 250 mm).
  const struct {
    const char* Lead;
    size_t Row, First, Count;
    double X;
  } panels[] = {{"I", 0, 0, 250, 0}, {"aVR", 0, 250, 250, 62.5}, {"V4", 0, 750, 250, 187.5}};
  for (const auto& panel : panels) {
    const auto trace = std::find_if(sheet.Traces.begin(), sheet.Traces.end(),
                                    [&](const auto& t) { return t.Lead == panel.Lead; });
    ASSERT_EQ(trace->Points.size(), panel.Count) << panel.Lead;
    EXPECT_NEAR(trace->Points[0].X, left + panel.X, 1e-9) << panel.Lead;
    EXPECT_NEAR(trace->Points[1].X - trace->Points[0].X, 0.25, 1e-9);  // 10 ms at 25 mm/s
    EXPECT_NEAR(sheet.Calibration[panel.Row].Points[0].Y - trace->Points[0].Y,
                static_cast<double>(panel.First) / 100, 1e-9);
  }
  EXPECT_EQ(sheet.Traces.back().Lead, "II");  // the strip: all 10 s
  EXPECT_EQ(sheet.Traces.back().Points.size(), 1000u);

  PlotOptions window;
  window.Requested = scpecg::plot::Layout::k12x1;
  window.From = 2.0;
  window.Seconds = 0.5;
  const scpecg::plot::Sheet part = plottest::Plot(reader, window);
  ASSERT_EQ(part.Traces.size(), 12u);
  EXPECT_EQ(part.Traces[0].Points.size(), 50u);
  EXPECT_NEAR(part.Calibration[0].Points[0].Y - part.Traces[0].Points[0].Y, 2.0, 1e-9);
  EXPECT_NEAR(part.Traces[0].Points[0].X, part.Calibration[0].Points.back().X, 1e-9);
}

}  // namespace
