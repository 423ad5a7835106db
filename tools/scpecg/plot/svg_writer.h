// The sheet as a plain SVG document, one user unit per millimetre.
#pragma once

#include <string>

#include "plot/sheet.h"

namespace scpecg::plot {

std::string SvgDocument(const Sheet& sheet);

}  // namespace scpecg::plot
