#include "plot/png_writer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <string>

#include "platform/errors.h"
#include "plot/paper_style.h"

namespace scpecg::plot {

namespace {

struct SurfaceFree {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextFree {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

void Pen(cairo_t* cr, const Rgb& colour, double width) {
  cairo_set_source_rgb(cr, colour.R, colour.G, colour.B);
  cairo_set_line_width(cr, width);
}

void Grid(cairo_t* cr, const Rect& g, double step) {
  for (const double x : GridLines(g.X, g.Width, step)) {
    cairo_move_to(cr, x, g.Y);
    cairo_line_to(cr, x, g.Y + g.Height);
  }
  for (const double y : GridLines(g.Y, g.Height, step)) {
    cairo_move_to(cr, g.X, y);
    cairo_line_to(cr, g.X + g.Width, y);
  }
  cairo_stroke(cr);
}

void Lines(cairo_t* cr, const std::vector<Polyline>& lines) {
  for (const Polyline& line : lines) {
    for (size_t k = 0; k < line.Points.size(); ++k) {
      const Point& p = line.Points[k];
      if (k == 0) {
        cairo_move_to(cr, p.X, p.Y);
      } else {
        cairo_line_to(cr, p.X, p.Y);
      }
    }
    // A lone sample between two lead-off stretches still shows as a dot.
    if (line.Points.size() == 1) cairo_rel_line_to(cr, 0.0, 0.0);
    cairo_stroke(cr);
  }
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  try {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  } catch (const std::bad_alloc&) {
    return CAIRO_STATUS_NO_MEMORY;
  }
}

bool Failed(cairo_status_t status) {
  plat::SetLastError(status == CAIRO_STATUS_NO_MEMORY ? plat::kErrOutOfMemory
                                                      : plat::kErrGenFailure);
  return false;
}

}  // namespace

double PngScale(const Sheet& sheet) {
  const double area = sheet.Width * sheet.Height;
  if (area <= 0) return kPngPixelsPerMm;
  return std::min(kPngPixelsPerMm, std::sqrt(kMaxPngPixels / area));
}

bool PngImage(const Sheet& sheet, std::string* png) {
  const double scale = PngScale(sheet);
  const auto width = static_cast<int>(std::ceil(sheet.Width * scale));
  const auto height = static_cast<int>(std::ceil(sheet.Height * scale));
  std::unique_ptr<cairo_surface_t, SurfaceFree> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    return Failed(cairo_surface_status(surface.get()));
  }
  std::unique_ptr<cairo_t, ContextFree> context(cairo_create(surface.get()));
  cairo_t* cr = context.get();
  cairo_scale(cr, scale, scale);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);

  Pen(cr, kMinorColour, kMinorWidth);
  Grid(cr, sheet.Grid, kMinorStep);
  Pen(cr, kMajorColour, kMajorWidth);
  Grid(cr, sheet.Grid, kMajorStep);

  Pen(cr, kInk, kTraceWidth);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Lines(cr, sheet.Calibration);
  Lines(cr, sheet.Ticks);
  cairo_save(cr);
  cairo_rectangle(cr, sheet.Grid.X, sheet.Grid.Y, sheet.Grid.Width, sheet.Grid.Height);
  cairo_clip(cr);
  Lines(cr, sheet.Traces);
  cairo_restore(cr);

  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  for (const Text& text : sheet.Texts) {
    cairo_set_font_size(cr, text.Size);
    cairo_move_to(cr, text.X, text.Y);
    cairo_show_text(cr, text.Value.c_str());
  }
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) return Failed(cairo_status(cr));
  cairo_surface_flush(surface.get());
  png->clear();
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), Append, png);
  if (status != CAIRO_STATUS_SUCCESS) return Failed(status);
  return true;
}

}  // namespace scpecg::plot
