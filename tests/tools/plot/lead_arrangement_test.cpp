// Where each lead goes on the sheet and which stretch of time each panel shows.
#include <gtest/gtest.h>

#include "plot/lead_arrangement.h"
#include "plot_fixture.h"

namespace {

using scpecg::plot::Arrange;
using scpecg::plot::Arrangement;
using scpecg::plot::Layout;

// Chest leads first, as some carts store them.
const std::vector<uint8_t> kTwelve = {3, 4, 5, 6, 7, 8, 1, 2, 61, 62, 63, 64};

// Lead code shown at a grid cell, 0 for an empty one.
uint8_t CodeAt(const Arrangement& a, const std::vector<uint8_t>& codes, unsigned row,
               unsigned column) {
  for (const auto& panel : a.Panels) {
    if (panel.Row == row && panel.Column == column) return codes[panel.Lead];
  }
  return 0;
}

TEST(PlotLayout, TwelveLeadsGoWhereEcgReadersLookForThem) {
  const Arrangement a = Arrange(kTwelve, Layout::kAuto, false, 10.0);
  EXPECT_EQ(a.Chosen, Layout::k3x4Plus1);
  ASSERT_EQ(a.Panels.size(), 13u);
  EXPECT_EQ(a.Rows, 4u);
  const uint8_t grid[3][4] = {{1, 62, 3, 6}, {2, 63, 4, 7}, {61, 64, 5, 8}};
  for (unsigned row = 0; row < 3; ++row) {
    for (unsigned column = 0; column < 4; ++column) {
      EXPECT_EQ(CodeAt(a, kTwelve, row, column), grid[row][column]) << row << "," << column;
    }
  }
  for (const auto& panel : a.Panels) {
    if (panel.Row == 3) continue;
    EXPECT_DOUBLE_EQ(panel.Start, 2.5 * panel.Column);  // consecutive quarters of 10 s
    EXPECT_DOUBLE_EQ(panel.Duration, 2.5);
  }
  // The rhythm strip: lead II over the whole width and window.
  const auto& strip = a.Panels.back();
  EXPECT_EQ(kTwelve[strip.Lead], 2);
  EXPECT_EQ(strip.Row, 3u);
  EXPECT_EQ(strip.Span, 4u);
  EXPECT_DOUBLE_EQ(strip.Duration, 10.0);

  const Arrangement sixByTwo = Arrange(kTwelve, Layout::k6x2, false, 10.0);
  ASSERT_EQ(sixByTwo.Panels.size(), 12u);
  EXPECT_EQ(CodeAt(sixByTwo, kTwelve, 5, 0), 64);
  EXPECT_EQ(CodeAt(sixByTwo, kTwelve, 0, 1), 3);
  EXPECT_DOUBLE_EQ(sixByTwo.ColumnDuration, 5.0);

  const Arrangement column = Arrange(kTwelve, Layout::k12x1, false, 10.0);
  const uint8_t order[12] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  for (unsigned row = 0; row < 12; ++row) EXPECT_EQ(CodeAt(column, kTwelve, row, 0), order[row]);

  // Reference beats: every column shows the whole beat, and there is no rhythm strip.
  const Arrangement beats = Arrange(kTwelve, Layout::k3x4Plus1, true, 1.2);
  EXPECT_EQ(beats.Chosen, Layout::k3x4);
  ASSERT_EQ(beats.Panels.size(), 12u);
  for (const auto& panel : beats.Panels) {
    EXPECT_DOUBLE_EQ(panel.Start, 0.0);
    EXPECT_DOUBLE_EQ(panel.Duration, 1.2);
  }
}

TEST(PlotLayout, OtherLeadSetsGetARowEachOrFillInOrder) {
  const std::vector<uint8_t> one = {101};
  const Arrangement single = Arrange(one, Layout::kAuto, false, 10.0);
  EXPECT_EQ(single.Chosen, Layout::kRows);
  ASSERT_EQ(single.Panels.size(), 1u);
  EXPECT_DOUBLE_EQ(single.Panels[0].Duration, 10.0);

  const std::vector<uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Arrange(eight, Layout::kAuto, false, 10.0).Rows, 8u);
  const std::vector<uint8_t> odd = {101, 102};
  const Arrangement filled = Arrange(odd, Layout::k3x4, false, 10.0);
  ASSERT_EQ(filled.Panels.size(), 2u);
  EXPECT_EQ(CodeAt(filled, odd, 1, 0), 102);

  // The limb leads are wanted when only I and II of them are there.
  EXPECT_TRUE(scpecg::plot::WantsLimbLeads(eight));
  EXPECT_TRUE(scpecg::plot::WantsLimbLeads({2, 1}));
  EXPECT_FALSE(scpecg::plot::WantsLimbLeads({1, 2, 61}));
  EXPECT_FALSE(scpecg::plot::WantsLimbLeads({2, 3}));
}

TEST(PlotLayout, WindowPicksTheSamplesOfEachPanel) {
  // Every lead holds its own sample numbers: 1 uV units, so sample k is k/100 mm high.
  std::vector<int16_t> ramp(1000);
  for (size_t k = 0; k < ramp.size(); ++k) ramp[k] = static_cast<int16_t>(k);
  CReader reader;
  plottest::Load(plottest::Record(kTwelve, plottest::Samples(12, ramp), 1000, 10000), &reader);
  const scpecg::plot::Sheet sheet = plottest::Plot(reader, {});
  ASSERT_EQ(sheet.Traces.size(), 13u);
  const double left = sheet.Calibration[0].Points.back().X;
  auto check = [&](const std::string& lead, size_t nth, size_t first, size_t count, double x) {
    SCOPED_TRACE(lead);
    size_t seen = 0;
    for (const auto& trace : sheet.Traces) {
      if (trace.Lead != lead || seen++ != nth) continue;
      ASSERT_EQ(trace.Points.size(), count);
      EXPECT_NEAR(trace.Points[0].X, left + x, 1e-9);
      EXPECT_NEAR(trace.Points[1].X - trace.Points[0].X, 0.25, 1e-9);  // 10 ms at 25 mm/s
      EXPECT_NEAR(trace.Points[1].Y - trace.Points[0].Y, -0.01, 1e-9);
      const double row = sheet.Calibration[nth == 1 ? 3 : 0].Points[0].Y;
      EXPECT_NEAR(row - trace.Points[0].Y, static_cast<double>(first) / 100.0, 1e-9);
    }
  };
  check("I", 0, 0, 250, 0.0);
  check("aVR", 0, 250, 250, 62.5);
  check("V4", 0, 750, 250, 187.5);
  check("II", 1, 0, 1000, 0.0);  // the rhythm strip

  scpecg::plot::PlotOptions window;
  window.Requested = Layout::k12x1;
  window.From = 2.0;
  window.Seconds = 0.5;
  const scpecg::plot::Sheet part = plottest::Plot(reader, window);
  ASSERT_EQ(part.Traces.size(), 12u);
  EXPECT_EQ(part.Traces[0].Points.size(), 50u);
  EXPECT_NEAR(part.Calibration[0].Points[0].Y - part.Traces[0].Points[0].Y, 2.0, 1e-9);
  EXPECT_NEAR(part.Traces[0].Points[0].X, part.Calibration[0].Points.back().X, 1e-9);
}

}  // namespace
