// scpecg show: everything the reader loads from a record.
#include <iostream>

#include "commands.h"
#include "failure_place.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "record_json.h"
#include "tolerant_header.h"

namespace scpecg {

namespace {

struct ShowOptions {
  std::string File;
  bool Json = false;
  bool Derive = false;
};

// Why a section did not load: absent, or its parser's error when it is loaded on its own
// (with Section 3 for the sample data), with the byte the section starts at.
Json NotLoaded(const std::string& file, const CReader& reader) {
  Json list = Json::array();
  for (const UnloadedSection& section : UnloadedSections(file, reader)) {
    Json item{{"section", section.Id}};
    if (section.Index != 0) {
      item["error"] = section.Code;
      item["byte"] = section.Index;
    }
    item["reason"] = section.Code == 0 ? "absent" : plat::ErrorMessage(section.Code);
    list.push_back(item);
  }
  return list;
}

Json Describe(const std::string& file, CReader& reader, const std::string& encoding) {
  char mask[8];
  std::snprintf(mask, sizeof mask, "0x%04X", reader.Loaded);
  Json out{{"file", file}, {"loaded", mask}};
  out["not_loaded"] = NotLoaded(file, reader);
  if (reader.Loaded & kSection1) {
    out["patient"] = PatientJson(reader.Patient);
    out["recording"] = RecordingJson(reader.Recording);
    out["general"] = GeneralJson(reader.General);
    out["lead_errors"] = LeadErrorsJson(reader.LeadErrors);
  }
  if (reader.Loaded & kSection3)
    out["lead_definitions"] = LeadDefinitionsJson(reader.LeadDefinitions);
  if (reader.Loaded & (kSection7 | kSection9)) {
    out["analysis"] = AnalysisJson(reader.Analysis, (reader.Loaded & kSection7) != 0,
                                   (reader.Loaded & kSection9) != 0);
  }
  if (reader.Loaded & kSection10) {
    out["lead_measurements"] = LeadMeasurementsJson(reader.LeadMeasurements);
  }
  if (!encoding.empty()) out["encoding"] = encoding;
  if (reader.HasRhythm) out["rhythm"] = SampleDataJson(reader.Rhythm, reader.LeadDefinitions);
  if (reader.HasMedian) {
    out["reference_beats"] = SampleDataJson(reader.Median, reader.LeadDefinitions);
  }
  return out;
}

int RunShow(const ShowOptions& options) {
  CReader reader;
  uint16_t loaded = 0;
  std::string encoding;
  if (!reader.LoadDecoded(options.File.c_str(), &loaded, kAllSections, &encoding)) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  const std::string header = ReadForeignHeader(options.File, reader);
  if (!header.empty()) std::cerr << header << "\n";
  if (options.Derive && !reader.GenerateCalculatedLeads()) {
    std::cerr << options.File << ": deriving leads: " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  const Json out = Describe(options.File, reader, encoding);
  if (options.Json) {
    std::cout << out.dump(2) << "\n";
  } else {
    PrintAsText(std::cout, out);
  }
  return kExitOk;
}

}  // namespace

void AddShowCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ShowOptions>();
  CLI::App* command =
      app.add_subcommand("show", "Load every section the reader knows and print what it holds");
  command->add_option("file", options->File, "SCP-ECG file")->required();
  command->add_flag("--json", options->Json, "Print as JSON");
  command->add_flag("--derive", options->Derive,
                    "Compute III, aVR, aVL and aVF where missing, and the lead errors, first");
  command->callback([options, &status] { status = RunShow(*options); });
}

}  // namespace scpecg
