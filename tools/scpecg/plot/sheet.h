// The drawing of one ECG sheet in millimetres, y downwards: what both the SVG and the
// PNG writer render, so that tests can check the geometry without pixels.
#pragma once

#include <string>
#include <vector>

namespace scpecg::plot {

struct Point {
  double X;
  double Y;
};

struct Polyline {
  std::string Lead;  // label of the lead it belongs to; empty for calibration and ticks
  std::vector<Point> Points;
};

struct Text {
  double X;  // left end of the baseline
  double Y;
  double Size;        // font size, mm
  std::string Value;  // UTF-8 without control characters
};

struct Rect {
  double X = 0;
  double Y = 0;
  double Width = 0;
  double Height = 0;
};

// ECG paper: thin lines every millimetre, thicker ones every five.
constexpr double kMinorStep = 1.0;
constexpr double kMajorStep = 5.0;

struct Sheet {
  double Width = 0;
  double Height = 0;
  Rect Grid;                          // the ruled area; traces are clipped to it
  std::vector<Polyline> Calibration;  // one pulse per row
  std::vector<Polyline> Traces;       // broken where the lead is off
  std::vector<Polyline> Ticks;        // short bars where a row changes lead
  std::vector<Text> Texts;            // header, lead labels, footer
  std::string LayoutName;
  unsigned LeadCount = 0;  // leads shown
};

// Positions of the grid lines from `start` over `length` every `step`, both ends included
// when they fall on a line.
std::vector<double> GridLines(double start, double length, double step);

// `text` with control characters and malformed UTF-8 replaced by '?'.
std::string CleanText(const std::string& text);

}  // namespace scpecg::plot
