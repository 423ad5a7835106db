// What scpecg plot writes: SVG that an XML parser accepts, a PNG of the sheet's size
// with ink on it.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "plot/header_text.h"
#include "plot/png_writer.h"
#include "plot/svg_writer.h"
#include "plot_fixture.h"
#include "support/section1_bytes.h"
#include "support/temp_folder.h"

namespace {

using scpecg::plot::PlotSource;

bool Contains(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& text : texts) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(PlotOutput, SvgIsWellFormedXmlWithTheHeader) {
  // Markup characters, a Windows-1252 letter and a control character in Section 1.
  const test::Bytes section1 = test::Body(
      {test::TextTag(0, "Smith & <Sons>"), test::TextTag(1, "Zo\xEB"), test::TextTag(2, "ID\02442"),
       test::TextTag(201, "\x01Sinus rhythm\r\nNormal ECG"), test::EndTag()});
  CReader reader;
  plottest::Load(
      plottest::Record({1, 2}, {{0, 50, 100}, {0, -50, -100}}, 5000, 2000, false, section1),
      &reader);
  PlotSource source;
  source.Data = &reader.Rhythm;
  source.Leads = &reader.LeadDefinitions;
  source.Header = scpecg::plot::HeaderLines(reader, reader.Rhythm, false);
  source.Title = "bad \xFF name";
  scpecg::plot::Sheet sheet;
  std::string problem;
  ASSERT_TRUE(scpecg::plot::BuildSheet(source, {}, &sheet, &problem)) << problem;

  const plottest::Svg svg = plottest::ParseSvg(scpecg::plot::SvgDocument(sheet));
  ASSERT_TRUE(svg.Parsed);
  EXPECT_EQ(svg.Root, "svg");
  EXPECT_EQ(svg.Namespace, "http://www.w3.org/2000/svg");
  EXPECT_EQ(svg.Traces.size(), 2u);
  EXPECT_TRUE(Contains(svg.Texts, "Patient: Smith & <Sons>, Zo\xC3\xAB    ID: ID?42"));
  EXPECT_TRUE(Contains(svg.Texts, "Sampling: 500.0 Hz (2000 us)    AVM: 5000 nV"));
  EXPECT_TRUE(Contains(svg.Texts, "Interpretation: Sinus rhythm"));
  EXPECT_TRUE(Contains(svg.Texts, "  Normal ECG"));
  EXPECT_TRUE(Contains(svg.Texts, "25 mm/s    10 mm/mV"));
  EXPECT_TRUE(Contains(svg.Texts, "bad ? name"));
}

TEST(PlotOutput, PngHasTheSheetSizeAndIsNotBlank) {
  CReader reader;
  std::vector<int16_t> wave(100);
  for (size_t k = 0; k < wave.size(); ++k) wave[k] = static_cast<int16_t>(k % 10 * 40);
  plottest::Load(plottest::Record({1}, {wave}, 5000, 20000), &reader);
  const scpecg::plot::Sheet sheet = plottest::Plot(reader, {});
  std::string png;
  ASSERT_TRUE(scpecg::plot::PngImage(sheet, &png));
  test::TempFolder folder;
  const std::string path = folder.Write("plot.png", test::Bytes(png.begin(), png.end()));

  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  EXPECT_EQ(width, static_cast<int>(std::ceil(sheet.Width * 10)));  // 10 px per mm
  EXPECT_EQ(height, static_cast<int>(std::ceil(sheet.Height * 10)));
  long ink = 0, paper = 0, white = 0;
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, data + y * stride + x * 4, 4);
      const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
      if (r < 80 && g < 80 && b < 80) ++ink;
      if (r > 200 && g < 230 && b < 230 && g + 8 > b && b + 8 > g) ++paper;
      if (r == 255 && g == 255 && b == 255) ++white;
    }
  }
  cairo_surface_destroy(image);
  EXPECT_GT(ink, 2000);     // trace, pulse and text
  EXPECT_GT(paper, 20000);  // the red grid
  EXPECT_GT(white, long{width} * height / 4);

  // A sheet too large for 10 px per mm is drawn smaller.
  scpecg::plot::Sheet huge;
  huge.Width = 20000;
  huge.Height = 5000;
  const double scale = scpecg::plot::PngScale(huge);
  EXPECT_LT(scale, 10.0);
  EXPECT_LE(huge.Width * huge.Height * scale * scale, scpecg::plot::kMaxPngPixels * 1.0001);
}

}  // namespace
