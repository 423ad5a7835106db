// Where each lead goes on the sheet and which stretch of time each panel shows.
#include <gtest/gtest.h>

#include "plot/lead_arrangement.h"
#include "plot_fixture.h"

namespace {

using scpecg::plot::Arrange;
using scpecg::plot::Arrangement;
using scpecg::plot::Layout;

// Lead code shown at a grid cell, 0 for an empty one.
int CodeAt(const Arrangement& a, const std::vector<uint8_t>& codes, unsigned row, unsigned col) {
  for (const auto& panel : a.Panels) {
    if (panel.Row == row && panel.Column == col) return codes[panel.Lead];
  }
  return 0;
}

TEST(PlotLayout, LeadsGoWhereEcgReadersLookForThem) {
  const std::vector<uint8_t>& twelve = plottest::kTwelve;
  const Arrangement a = Arrange(twelve, Layout::kAuto, false, 10.0);
  EXPECT_EQ(a.Chosen, Layout::k3x4Plus1);
  ASSERT_EQ(a.Panels.size(), 13u);
  const int grid[3][4] = {{1, 62, 3, 6}, {2, 63, 4, 7}, {61, 64, 5, 8}};
  for (unsigned row = 0; row < 3; ++row) {
    for (unsigned col = 0; col < 4; ++col) EXPECT_EQ(CodeAt(a, twelve, row, col), grid[row][col]);
  }
  for (const auto& panel : a.Panels) {
    if (panel.Row < 3) {
      EXPECT_DOUBLE_EQ(panel.Start, 2.5 * panel.Column);
    }
  }
  const auto& strip = a.Panels.back();  // lead II over the whole width and window
  EXPECT_EQ(twelve[strip.Lead], 2);
  EXPECT_EQ(strip.Row, 3u);
  EXPECT_EQ(strip.Span, 4u);
  EXPECT_DOUBLE_EQ(strip.Duration, 10.0);

  const Arrangement sixByTwo = Arrange(twelve, Layout::k6x2, false, 10.0);
  EXPECT_EQ(CodeAt(sixByTwo, twelve, 5, 0), 64);
  EXPECT_EQ(CodeAt(sixByTwo, twelve, 0, 1), 3);
  EXPECT_DOUBLE_EQ(sixByTwo.ColumnDuration, 5.0);
  const Arrangement column = Arrange(twelve, Layout::k12x1, false, 10.0);
  EXPECT_EQ(CodeAt(column, twelve, 2, 0), 61);
  EXPECT_EQ(CodeAt(column, twelve, 11, 0), 8);

  // Reference beats: the whole beat in every column, no rhythm strip.
  const Arrangement beats = Arrange(twelve, Layout::k3x4Plus1, true, 1.2);
  EXPECT_EQ(beats.Chosen, Layout::k3x4);
  ASSERT_EQ(beats.Panels.size(), 12u);
  EXPECT_DOUBLE_EQ(beats.Panels[11].Start, 0.0);
  EXPECT_DOUBLE_EQ(beats.Panels[11].Duration, 1.2);

  // Other lead sets: a row each with auto, record order in the fixed layouts.
  const std::vector<uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Arrange(eight, Layout::kAuto, false, 10.0).Chosen, Layout::kRows);
  EXPECT_EQ(Arrange(eight, Layout::kAuto, false, 10.0).Rows, 8u);
  const std::vector<uint8_t> odd = {101, 102};
  EXPECT_EQ(CodeAt(Arrange(odd, Layout::k3x4, false, 10.0), odd, 1, 0), 102);

  // The limb leads are wanted when only I and II of them are there.
  EXPECT_TRUE(scpecg::plot::WantsLimbLeads(eight));
  EXPECT_TRUE(scpecg::plot::WantsLimbLeads({2, 1}));
  EXPECT_FALSE(scpecg::plot::WantsLimbLeads({1, 2, 61}));
  EXPECT_FALSE(scpecg::plot::WantsLimbLeads({2, 3}));
}

}  // namespace
