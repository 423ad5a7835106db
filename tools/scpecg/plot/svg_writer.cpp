#include "plot/svg_writer.h"

#include <cmath>
#include <cstdio>

#include "plot/paper_style.h"

namespace scpecg::plot {

namespace {

// Millimetres to the micrometre, without trailing zeros.
std::string Num(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  std::string out = text;
  out.erase(out.find_last_not_of('0') + 1);
  if (out.back() == '.') out.pop_back();
  return out == "-0" ? "0" : out;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Colour(const Rgb& rgb) {
  auto byte = [](double level) { return static_cast<unsigned>(std::lround(level * 255)); };
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(rgb.R), byte(rgb.G), byte(rgb.B));
  return text;
}

// Vertical and horizontal lines over the grid every `step` mm, as one path.
std::string GridPath(const Rect& grid, double step, const Rgb& colour, double width,
                     const char* name) {
  std::string d;
  for (const double x : GridLines(grid.X, grid.Width, step)) {
    d += "M" + Num(x) + " " + Num(grid.Y) + "V" + Num(grid.Y + grid.Height);
  }
  for (const double y : GridLines(grid.Y, grid.Height, step)) {
    d += "M" + Num(grid.X) + " " + Num(y) + "H" + Num(grid.X + grid.Width);
  }
  return "<path id=\"" + std::string(name) + "\" fill=\"none\" stroke=\"" + Colour(colour) +
         "\" stroke-width=\"" + Num(width) + "\" d=\"" + d + "\"/>\n";
}

void Polylines(const std::vector<Polyline>& lines, std::string* out) {
  for (const Polyline& line : lines) {
    *out += "<polyline";
    if (!line.Lead.empty()) *out += " data-lead=\"" + Escape(line.Lead) + "\"";
    *out += " points=\"";
    for (size_t k = 0; k < line.Points.size(); ++k) {
      if (k > 0) *out += ' ';
      *out += Num(line.Points[k].X) + "," + Num(line.Points[k].Y);
    }
    *out += "\"/>\n";
  }
}

}  // namespace

std::string SvgDocument(const Sheet& sheet) {
  const Rect& g = sheet.Grid;
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Num(sheet.Width) +
         "mm\" height=\"" + Num(sheet.Height) + "mm\" viewBox=\"0 0 " + Num(sheet.Width) + " " +
         Num(sheet.Height) + "\">\n";
  out += "<defs><clipPath id=\"grid-area\"><rect x=\"" + Num(g.X) + "\" y=\"" + Num(g.Y) +
         "\" width=\"" + Num(g.Width) + "\" height=\"" + Num(g.Height) + "\"/></clipPath></defs>\n";
  out += "<rect width=\"" + Num(sheet.Width) + "\" height=\"" + Num(sheet.Height) +
         "\" fill=\"#ffffff\"/>\n";
  out += GridPath(g, kMinorStep, kMinorColour, kMinorWidth, "minor-grid");
  out += GridPath(g, kMajorStep, kMajorColour, kMajorWidth, "major-grid");
  const std::string pen = "fill=\"none\" stroke=\"" + Colour(kInk) + "\" stroke-width=\"" +
                          Num(kTraceWidth) + "\" stroke-linejoin=\"round\"";
  out += "<g id=\"calibration\" " + pen + ">\n";
  Polylines(sheet.Calibration, &out);
  Polylines(sheet.Ticks, &out);
  out += "</g>\n<g id=\"traces\" " + pen + " clip-path=\"url(#grid-area)\">\n";
  Polylines(sheet.Traces, &out);
  out += "</g>\n<g id=\"text\" font-family=\"sans-serif\" fill=\"" + Colour(kInk) + "\">\n";
  for (const Text& text : sheet.Texts) {
    out += "<text x=\"" + Num(text.X) + "\" y=\"" + Num(text.Y) + "\" font-size=\"" +
           Num(text.Size) + "\" xml:space=\"preserve\">" + Escape(text.Value) + "</text>\n";
  }
  out += "</g>\n</svg>\n";
  return out;
}

}  // namespace scpecg::plot
