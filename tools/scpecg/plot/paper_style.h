// Colours and pen widths of ECG paper, shared by the SVG and PNG writers.
#pragma once

namespace scpecg::plot {

struct Rgb {
  double R;
  double G;
  double B;
};

constexpr Rgb kMinorColour{1.0, 0.78, 0.78};  // light red
constexpr Rgb kMajorColour{0.94, 0.47, 0.47};
constexpr Rgb kInk{0.0, 0.0, 0.0};
constexpr double kMinorWidth = 0.08;  // mm
constexpr double kMajorWidth = 0.2;
constexpr double kTraceWidth = 0.25;

}  // namespace scpecg::plot
