// The header block of a plot: who, when, with what, how it was filtered and sampled,
// and what an analysis found.
#pragma once

#include <string>
#include <vector>

#include "reader/reader.h"

namespace scpecg::plot {

// One line each: patient name and ID; acquisition date, time and device; filters;
// sampling rate, AVM and length of `data`; then, when loaded, the intervals and heart
// rate the global measurements give, the measurements themselves,
// the statement codes and the interpretation text (one line per line of it).
std::vector<std::string> HeaderLines(const CReader& reader, const SEncodedData& data, bool median);

}  // namespace scpecg::plot
