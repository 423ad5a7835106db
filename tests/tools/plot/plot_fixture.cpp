#include "plot_fixture.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <regex>
#include <sstream>

#include "support/temp_folder.h"
#include "support/waveform_builder.h"

namespace plottest {

test::Bytes Record(const std::vector<uint8_t>& codes, const Samples& samples, uint16_t avm,
                   uint16_t interval, bool median, const test::Bytes& section1) {
  std::vector<test::LeadRange> leads;
  for (size_t i = 0; i < codes.size(); ++i) {
    leads.push_back({1, static_cast<uint32_t>(samples[i].size()), codes[i]});
  }
  test::RecordBuilder builder;
  if (!section1.empty()) builder.Section(1, section1);
  builder.Section(3, test::Section3Body(static_cast<uint8_t>(0x04 | (codes.size() << 3)), leads));
  builder.Section(median ? 5 : 6, test::SampleDataBody(avm, interval, samples));
  return builder.Build();
}

void Load(const test::Bytes& record, CReader* reader) {
  test::TempFolder folder;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader->Load(folder.Write("plot.scp", record).c_str(), &loaded, kAllSections));
}

scpecg::plot::Sheet Plot(const CReader& reader, const scpecg::plot::PlotOptions& options,
                         bool foreign) {
  scpecg::plot::PlotSource source;
  source.Markers = !foreign;
  source.Centred = foreign;
  source.Data = options.Median ? &reader.Median : &reader.Rhythm;
  source.Leads = &reader.LeadDefinitions;
  source.Rhythm = !options.Median;
  source.Header = {"header"};
  scpecg::plot::Sheet sheet;
  std::string problem;
  EXPECT_TRUE(scpecg::plot::BuildSheet(source, options, &sheet, &problem)) << problem;
  return sheet;
}

namespace {

std::string Attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return "";
  std::string out = reinterpret_cast<const char*>(value);
  xmlFree(value);
  return out;
}

std::vector<scpecg::plot::Point> Points(const std::string& text) {
  std::vector<scpecg::plot::Point> points;
  std::istringstream in(text);
  double x = 0;
  double y = 0;
  char comma = 0;
  while (in >> x >> comma >> y) points.push_back({x, y});
  return points;
}

void Walk(xmlNode* node, const std::string& group, Svg* svg) {
  for (; node != nullptr; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    const std::string name = reinterpret_cast<const char*>(node->name);
    std::string inner = group;
    if (name == "g") inner = Attribute(node, "id");
    if (name == "polyline" && group == "traces") {
      svg->Traces.emplace_back(Attribute(node, "data-lead"), Points(Attribute(node, "points")));
    } else if (name == "polyline" && group == "calibration" &&
               Attribute(node, "data-lead").empty()) {
      const auto points = Points(Attribute(node, "points"));
      if (points.size() > 2) svg->Calibration.push_back(points);  // not a tick
    } else if (name == "path") {
      const std::string id = Attribute(node, "id");
      static const std::regex kMove("M([-0-9.]+) ([-0-9.]+)([VH])");
      const std::string d = Attribute(node, "d");
      for (std::sregex_iterator m(d.begin(), d.end(), kMove), end; m != end; ++m) {
        if ((*m)[3] == "V") svg->VerticalLines[id].push_back(std::stod((*m)[1]));
        if ((*m)[3] == "H") svg->HorizontalLines[id].push_back(std::stod((*m)[2]));
      }
    } else if (name == "text") {
      xmlChar* content = xmlNodeGetContent(node);
      svg->Texts.emplace_back(reinterpret_cast<const char*>(content));
      xmlFree(content);
    }
    Walk(node->children, inner, svg);
  }
}

}  // namespace

Svg ParseSvg(const std::string& document) {
  Svg svg;
  xmlDoc* doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "plot.svg",
                              nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (doc == nullptr) return svg;
  svg.Parsed = true;
  xmlNode* root = xmlDocGetRootElement(doc);
  svg.Root = reinterpret_cast<const char*>(root->name);
  if (root->ns != nullptr) svg.Namespace = reinterpret_cast<const char*>(root->ns->href);
  Walk(root->children, "", &svg);
  xmlFreeDoc(doc);
  return svg;
}

}  // namespace plottest
