// Which lead goes where on the sheet and which stretch of time each panel shows.
#pragma once

#include <cstdint>
#include <vector>

#include "plot/plot_options.h"

namespace scpecg::plot {

struct Panel {
  unsigned Lead;    // index into the sample data
  unsigned Row;     // from the top
  unsigned Column;  // from the left
  unsigned Span;    // columns wide
  double Start;     // s into the window where the panel begins
  double Duration;  // s
};

struct Arrangement {
  Layout Chosen = Layout::kRows;
  unsigned Rows = 0;
  unsigned Columns = 0;
  double ColumnDuration = 0;  // s of data one column is wide
  std::vector<Panel> Panels;
};

// True when all twelve standard leads are among `codes`.
bool IsStandardTwelve(const std::vector<uint8_t>& codes);

// True when I and II are there and none of III, aVR, aVL and aVF: the limb leads can
// and should be derived before a twelve-lead layout.
bool WantsLimbLeads(const std::vector<uint8_t>& codes);

// Places the leads (lead codes in data order) for the requested layout. Auto gives
// 3x4+1 for the standard twelve leads and one row per lead otherwise. The fixed layouts
// put the standard twelve in their usual places and other lead sets in data order.
// Reference beats show the whole beat in every column and no rhythm strip.
Arrangement Arrange(const std::vector<uint8_t>& codes, Layout requested, bool median,
                    double window);

}  // namespace scpecg::plot
