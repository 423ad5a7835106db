// scpecg plot: a record on ECG paper, as SVG or PNG.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>

#include "commands.h"
#include "failure_place.h"
#include "platform/errors.h"
#include "plot/header_text.h"
#include "plot/lead_arrangement.h"
#include "plot/paper_layout.h"
#include "plot/png_writer.h"
#include "plot/svg_writer.h"
#include "reader/reader.h"
#include "sample_assumptions.h"
#include "tolerant_header.h"

namespace scpecg {

namespace {

struct PlotCommandOptions {
  std::string File;
  std::string Output;
  std::string Layout = "auto";
  bool Derive = false;
  plot::PlotOptions Plot;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsPng(const std::string& name) {
  return name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".png";
}

bool IsSvg(const std::string& name) {
  return name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".svg";
}

int Fail(const std::string& file, const std::string& what, uint32_t code) {
  std::cerr << file << ": " << what << ErrorText(code) << "\n";
  return kExitFailed;
}

// Why the samples did not load: the record is read again with just Sections 3 and
// `section` so that the parser's own error is the last one.
std::string WhyNotLoaded(const std::string& file, const CReader& reader, uint16_t section,
                         uint32_t* code) {
  const uint16_t id = section == kSection5 ? 5 : 6;
  for (const UnloadedSection& unloaded : UnloadedSections(file, reader)) {
    if ((unloaded.Id == 3 || unloaded.Id == id) && unloaded.Index != 0 && unloaded.Code != 0) {
      *code = unloaded.Code;
      return "Section " + std::to_string(unloaded.Id) + " at byte " +
             std::to_string(unloaded.Index) + " could not be read";
    }
  }
  CReader alone;
  uint16_t loaded = 0;
  alone.Load(file.c_str(), &loaded, static_cast<uint16_t>(kSection3 | section));
  *code = plat::LastError();
  if (*code == plat::kErrSuccess) {
    *code = plat::kErrNoData;
    return "the record has none";
  }
  return "they could not be read";
}

std::vector<uint8_t> LeadCodes(const SLeadDefinitions& leads) {
  std::vector<uint8_t> codes;
  for (unsigned i = 0; i < leads.Count && leads.Leads != nullptr; ++i) {
    codes.push_back(leads.Leads[i].LeadId);
  }
  return codes;
}

int RunPlot(const PlotCommandOptions& options) {
  const std::string& file = options.File;
  CReader reader;
  uint16_t loaded = 0;
  std::string encoding;
  if (!reader.LoadDecoded(file.c_str(), &loaded, kAllSections, &encoding)) {
    return Fail(file, "", plat::LastError());
  }

  const std::string header = ReadForeignHeader(file, reader);
  loaded = reader.Loaded;
  const bool median = options.Plot.Median;
  const uint16_t section = median ? kSection5 : kSection6;
  const char* what = median ? "reference beats" : "rhythm data";
  if (!(loaded & section)) {
    uint32_t code = 0;
    std::string reason = WhyNotLoaded(file, reader, section, &code);
    if (!median && (loaded & kSection5)) reason += "; --median plots the reference beats";
    return Fail(file, std::string("no ") + what + " to plot (" + reason + "): ", code);
  }
  SEncodedData& data = median ? reader.Median : reader.Rhythm;
  const std::string scale = AssumeScaleWhenNone(file, what, data);
  // The reader keeps difference-encoded samples as stored; drawn, they would mislead.
  if (data.Encoding != 0) {
    const std::string form = data.Encoding == 1   ? "first differences"
                             : data.Encoding == 2 ? "second differences"
                                                  : "encoding " + std::to_string(data.Encoding);
    return Fail(file,
                std::string("the ") + what + " are stored as " + form +
                    ", which the reader does not decode: ",
                plat::kErrInvalidData);
  }

  // Unasked, the limb leads are derived only to complete a twelve-lead sheet: if that
  // fails, the leads the record has are still worth drawing.
  if (options.Derive && !reader.GenerateCalculatedLeads()) {
    return Fail(file, "deriving the limb leads: ", plat::LastError());
  }
  if (!options.Derive && plot::WantsLimbLeads(LeadCodes(reader.LeadDefinitions))) {
    reader.GenerateCalculatedLeads();
  }

  plot::PlotSource source;
  source.Data = &data;
  source.Leads = &reader.LeadDefinitions;
  source.Rhythm = !median;
  // A foreign writer's 2032-2034 are signal, and its baseline need not be near 0.
  const bool foreign = !WriterUsesMarkers(reader);
  source.Markers = !foreign;
  source.Centred = foreign;
  source.Header = plot::HeaderLines(reader, data, median);
  source.Title = file;
  plot::PlotOptions plotOptions = options.Plot;
  plot::ParseLayout(options.Layout, &plotOptions.Requested);
  plot::Sheet sheet;
  std::string problem;
  if (!plot::BuildSheet(source, plotOptions, &sheet, &problem)) {
    const uint32_t code = plat::LastError();
    return Fail(file, problem + ": ", code);
  }

  std::string bytes;
  if (IsPng(options.Output)) {
    if (!plot::PngImage(sheet, &bytes)) {
      const uint32_t code = plat::LastError();
      return Fail(options.Output, "drawing the PNG: ", code);
    }
  } else {
    bytes = plot::SvgDocument(sheet);
  }
  std::ofstream out(options.Output, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::cerr << options.Output << ": cannot be written\n";
    return kExitFailed;
  }
  if (!header.empty()) std::printf("%s\n", header.c_str());
  if (!encoding.empty()) std::printf("%s: decoded %s\n", file.c_str(), encoding.c_str());
  if (!scale.empty()) std::printf("%s\n", scale.c_str());
  if (foreign) {
    if (!median && HoldsMarkerValues(data)) std::printf("%s\n", SignalNote(file, reader).c_str());
    std::printf(
        "%s: note: traces centred on their own baselines (the record is not this "
        "system's)\n",
        file.c_str());
  }
  std::printf("%s: %u %s, layout %s, %g mm/s, %g mm/mV, %.0f x %.0f mm\n", options.Output.c_str(),
              sheet.LeadCount, sheet.LeadCount == 1 ? "lead" : "leads", sheet.LayoutName.c_str(),
              plotOptions.Speed, plotOptions.Gain, sheet.Width, sheet.Height);
  return kExitOk;
}

}  // namespace

void AddPlotCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<PlotCommandOptions>();
  CLI::App* command =
      app.add_subcommand("plot", "Draw the record on ECG paper as an SVG or PNG image");
  command->add_option("file", options->File, "SCP-ECG file")->required();
  command->add_option("-o,--output", options->Output, "Image to write: NAME.svg or NAME.png")
      ->required()
      ->check(CLI::Validator(
          [](const std::string& name) {
            return IsSvg(name) || IsPng(name) ? std::string() : "must end in .svg or .png";
          },
          "NAME.svg|NAME.png"));
  command->add_option("--layout", options->Layout, "3x4+1, 3x4, 6x2, 12x1 or auto")
      ->check(CLI::IsMember({"auto", "3x4+1", "3x4", "6x2", "12x1"}))
      ->capture_default_str();
  command->add_option("--speed", options->Plot.Speed, "Paper speed, mm/s")
      ->check(CLI::IsMember({25, 50}))
      ->capture_default_str();
  command->add_option("--gain", options->Plot.Gain, "Gain, mm/mV")
      ->check(CLI::IsMember({5, 10, 20}))
      ->capture_default_str();
  command->add_flag("--median", options->Plot.Median, "Plot the reference beats (Section 5)");
  command->add_flag("--derive", options->Derive,
                    "Compute III, aVR, aVL and aVF where missing first");
  command->add_option("--from", options->Plot.From, "Start of the window, s")
      ->check(CLI::Range(0.0, 3600.0));
  command
      ->add_option("--seconds", options->Plot.Seconds,
                   "Length of the window, s (default: up to 10 s of rhythm, the whole beat)")
      ->check(CLI::Range(0.01, 600.0));
  command->callback([options, &status] {
    try {
      status = RunPlot(*options);
    } catch (const std::bad_alloc&) {
      std::cerr << options->File << ": " << ErrorText(plat::kErrOutOfMemory) << "\n";
      status = kExitFailed;
    }
  });
}

}  // namespace scpecg
