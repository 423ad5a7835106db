// The sheet as a PNG image, drawn with cairo.
#pragma once

#include <string>

#include "plot/sheet.h"

namespace scpecg::plot {

// Pixels per millimetre of a PNG: 10 (254 dpi) unless the image would exceed
// kMaxPngPixels, in which case it is drawn smaller.
constexpr double kPngPixelsPerMm = 10.0;
constexpr double kMaxPngPixels = 40e6;
double PngScale(const Sheet& sheet);

// The PNG file's bytes in `png`. False when cairo cannot draw or encode it (14 when
// out of memory, 31 otherwise).
bool PngImage(const Sheet& sheet, std::string* png);

}  // namespace scpecg::plot
