// What the user asks of a plot: layout, paper speed, gain and the time window.
#pragma once

#include <string>

namespace scpecg::plot {

enum class Layout { kAuto, k3x4Plus1, k3x4, k6x2, k12x1, kRows };

struct PlotOptions {
  Layout Requested = Layout::kAuto;
  double Speed = 25.0;   // mm/s
  double Gain = 10.0;    // mm/mV
  bool Median = false;   // reference beats instead of rhythm
  double From = 0.0;     // s into the data
  double Seconds = 0.0;  // window length; 0 picks the default
};

// "3x4+1", "3x4", "6x2", "12x1", "auto"; false for anything else.
bool ParseLayout(const std::string& name, Layout* layout);
// The name users give ("one row per lead" for kRows).
const char* LayoutName(Layout layout);

}  // namespace scpecg::plot
