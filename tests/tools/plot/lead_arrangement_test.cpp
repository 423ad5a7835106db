// Where each lead goes on the sheet and which stretch of time each panel shows.
#include <gtest/gtest.h>

#include "plot/lead_arrangement.h"
#include "plot_fixture.h"

namespace {

using scpecg::plot::Arrange;
using scpecg::plot::Arrangement;
using scpecg::plot::Layout;

// The lead codes of the grid row by row, 0 for an empty cell, "|" between rows.
std::string Grid(const Arrangement& a, const std::vector<uint8_t>& codes) {
  std::string grid;
  for (unsigned row = 0; row < a.Rows; ++row) {
    grid += row ? " |" : "";
    for (unsigned col = 0; col < a.Columns; ++col) {
      unsigned code = 0;
      for (const auto& p : a.Panels) code = p.Row == row && p.Column == col ? codes[p.Lead] : code;
      grid += " " + std::to_string(code);
    }
  }
  return grid;
}

TEST(PlotLayout, LeadsGoWhereEcgReadersLookForThem) {
  const std::vector<uint8_t>& twelve = plottest::kTwelve;
  const Arrangement a = Arrange(twelve, Layout::kAuto, false, 10.0);
  EXPECT_EQ(a.Chosen, Layout::k3x4Plus1);
  ASSERT_EQ(a.Panels.size(), 13u);
  EXPECT_EQ(Grid(a, twelve), " 1 62 3 6 | 2 63 4 7 | 61 64 5 8 | 2 0 0 0");
  for (const auto& panel : a.Panels) EXPECT_DOUBLE_EQ(panel.Start, 2.5 * panel.Column);
  const auto& strip = a.Panels.back();  // lead II over the whole width and window
  EXPECT_EQ(twelve[strip.Lead], 2);
  EXPECT_EQ(strip.Span, 4u);
  EXPECT_DOUBLE_EQ(strip.Duration, 10.0);

  const Arrangement sixByTwo = Arrange(twelve, Layout::k6x2, false, 10.0);
  EXPECT_EQ(Grid(sixByTwo, twelve), " 1 3 | 2 4 | 61 5 | 62 6 | 63 7 | 64 8");
  EXPECT_DOUBLE_EQ(sixByTwo.ColumnDuration, 5.0);
  EXPECT_EQ(Grid(Arrange(twelve, Layout::k12x1, false, 10.0), twelve),
            " 1 | 2 | 61 | 62 | 63 | 64 | 3 | 4 | 5 | 6 | 7 | 8");

  // Reference beats: the whole beat in every column, no rhythm strip.
  const Arrangement beats = Arrange(twelve, Layout::k3x4Plus1, true, 1.2);
  EXPECT_EQ(beats.Chosen, Layout::k3x4);
  ASSERT_EQ(beats.Panels.size(), 12u);
  EXPECT_DOUBLE_EQ(beats.Panels[11].Start, 0.0);
  EXPECT_DOUBLE_EQ(beats.Panels[11].Duration, 1.2);

  // Other lead sets: a row each with auto, record order in the fixed layouts.
  const std::vector<uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 8};
  const Arrangement rows = Arrange(eight, Layout::kAuto, false, 10.0);
  EXPECT_EQ(rows.Chosen, Layout::kRows);
  EXPECT_EQ(rows.Rows, 8u);
  const std::vector<uint8_t> odd = {101, 102};
  EXPECT_EQ(Grid(Arrange(odd, Layout::k3x4, false, 10.0), odd), " 101 0 0 0 | 102 0 0 0 | 0 0 0 0");

  // The limb leads are wanted when only I and II of them are there.
  EXPECT_TRUE(scpecg::plot::WantsLimbLeads(eight));
  EXPECT_TRUE(scpecg::plot::WantsLimbLeads({2, 1}));
  EXPECT_FALSE(scpecg::plot::WantsLimbLeads({1, 2, 61}));
  EXPECT_FALSE(scpecg::plot::WantsLimbLeads({2, 3}));
}

}  // namespace
