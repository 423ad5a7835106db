// Records for the plot tests, loaded as scpecg plot loads them, and the SVG read back
// with libxml2.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "plot/paper_layout.h"
#include "reader/reader.h"
#include "support/record_builder.h"

namespace plottest {

using Samples = std::vector<std::vector<int16_t>>;

// The standard twelve leads, chest leads first as some carts store them.
inline const std::vector<uint8_t> kTwelve = {3, 4, 5, 6, 7, 8, 1, 2, 61, 62, 63, 64};

// Sections 3 and 6 (or 5 with `median`) for leads of the given codes, and `section1`
// when it is not empty.
test::Bytes Record(const std::vector<uint8_t>& codes, const Samples& samples, uint16_t avm,
                   uint16_t interval, bool median = false, const test::Bytes& section1 = {});

// Writes the record to a scratch folder and loads every section of it.
void Load(const test::Bytes& record, CReader* reader);

// The sheet of what `reader` loaded, rhythm or reference beats as `options` asks; a
// `foreign` record's 2032-2034 are signal and its traces centred, as scpecg plot does.
scpecg::plot::Sheet Plot(const CReader& reader, const scpecg::plot::PlotOptions& options,
                         bool foreign = false);

// What the tests read from an SVG document: every polyline of the traces group by
// lead, the calibration pulses, the positions of the grid lines and the texts.
struct Svg {
  bool Parsed = false;
  std::string Root;
  std::string Namespace;
  std::vector<std::pair<std::string, std::vector<scpecg::plot::Point>>> Traces;
  std::vector<std::vector<scpecg::plot::Point>> Calibration;
  std::map<std::string, std::vector<double>> VerticalLines;  // x of each, by path id
  std::map<std::string, std::vector<double>> HorizontalLines;
  std::vector<std::string> Texts;
};
Svg ParseSvg(const std::string& document);

}  // namespace plottest
