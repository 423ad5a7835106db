// Lays out ECG paper: header, grid, calibration pulses, labelled traces and the footer
// with paper speed and gain, all in millimetres.
#pragma once

#include <string>
#include <vector>

#include "plot/plot_options.h"
#include "plot/sheet.h"
#include "record/encoded_data.h"
#include "record/lead_definitions.h"

namespace scpecg::plot {

struct PlotSource {
  const SEncodedData* Data = nullptr;
  const SLeadDefinitions* Leads = nullptr;  // lead i of Data is lead i here
  bool Rhythm = true;                       // rhythm data, drawn from its start
  bool Markers = true;              // 2032-2034 are lead-off markers that break a rhythm trace
  bool Centred = false;             // each trace drawn around its own baseline (its median)
  std::vector<std::string> Header;  // lines above the grid
  std::string Title;                // printed in the footer
};

// Amplitude on paper: sample units times AVM (nV) in millivolts times the gain.
double AmplitudeMm(int sample, unsigned avmNanovolts, double gainMmPerMv);

// Fills `sheet`. False when there is nothing to draw, with the reason in `problem` and
// a last-error code: 232 no sample data, 13 no sample interval or AVM, 87 a window
// that starts after the data ends.
bool BuildSheet(const PlotSource& source, const PlotOptions& options, Sheet* sheet,
                std::string* problem);

}  // namespace scpecg::plot
