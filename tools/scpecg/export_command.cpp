// scpecg export: the samples as CSV, or the record as WFDB or EDF+ with the beats of its
// analysis.
#include <fstream>
#include <iostream>

#include "commands.h"
#include "failure_place.h"
#include "interchange/csv_export.h"
#include "interchange/edf_export.h"
#include "interchange/export_record.h"
#include "interchange/wfdb_export.h"
#include "platform/errors.h"
#include "platform/path.h"
#include "reader/reader.h"
#include "sample_assumptions.h"
#include "tolerant_header.h"

namespace scpecg {

namespace {

struct ExportOptions {
  std::string File;
  std::string Output;
  std::string Format = "csv";
  bool Median = false;
  bool Derive = false;
  bool Raw = false;
};

int WriteCsvFile(const ExportOptions& options, const SEncodedData& data,
                 const SLeadDefinitions& leads) {
  if (options.Output.empty()) {
    WriteCsv(std::cout, data, leads, options.Raw);
    return kExitOk;
  }
  std::ofstream out(options.Output, std::ios::trunc);
  WriteCsv(out, data, leads, options.Raw);
  out.close();
  if (!out) {
    std::cerr << options.Output << ": cannot be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

// OUT, or FILE beside itself, without the extension the format adds.
std::string OutputBase(const ExportOptions& options) {
  plat::PathParts parts = plat::SplitPath(options.Output.empty() ? options.File : options.Output);
  const std::string extension = parts.Extension;
  if (options.Output.empty() || extension == ".hea" || extension == ".dat" || extension == ".atr" ||
      extension == ".edf" || extension == ".EDF") {
    parts.Extension.clear();
  }
  return JoinPath(parts);
}

std::string Summary(const SExportRecord& record) {
  const size_t leads = record.Leads.size();
  char text[128];
  std::snprintf(text, sizeof(text), "%zu %s of %zu samples at %g Hz", leads,
                leads == 1 ? "lead" : "leads", record.Leads.front().Samples.size(),
                ExportRate(record.SampleInterval));
  return text;
}

int WriteRecordFile(const ExportOptions& options, const CReader& reader, const SEncodedData& data,
                    bool markers) {
  std::vector<SQrsBeat> beats;
  if (!options.Median && !ReadQrsBeats(options.File.c_str(), &beats)) {
    std::cerr << "scpecg export: note: " << options.File << ": its QRS locations (Section 4) "
              << "cannot be read (" << ErrorText(plat::LastError()) << "): no beats written\n";
    beats.clear();
  }
  SExportRecord record;
  std::string why;
  if (!GatherExportRecord(reader, data, beats, &record, &why)) {
    std::cerr << options.File << ": " << why << " (" << ErrorText(plat::LastError()) << ")\n";
    return kExitFailed;
  }
  record.Markers = markers;
  if (record.PaddedSamples > 0) {
    std::cerr << "scpecg export: note: leads shorter than the longest are filled with "
              << record.PaddedSamples << " invalid samples\n";
  }
  const std::string base = OutputBase(options);
  const std::string beatText =
      std::to_string(record.Beats.size()) + (record.Beats.size() == 1 ? " beat" : " beats");
  if (options.Format == "wfdb") {
    std::vector<std::string> files;
    if (!ExportWfdb(base, record, &files, &why)) {
      std::cerr << why << " (" << ErrorText(plat::LastError()) << ")\n";
      return kExitFailed;
    }
    std::cout << base << ".hea: WFDB record " << plat::SplitPath(base).Name << ", "
              << Summary(record) << ", format 16, " << 1e6 / record.AVM << " ADC units per mV";
    if (!record.Beats.empty()) std::cout << "; " << base << ".atr: " << beatText;
    std::cout << "\n";
    return kExitOk;
  }
  const std::string path = options.Output.empty() ? base + ".edf" : options.Output;
  if (!ExportEdf(path, record, &why)) {
    std::cerr << why << " (" << ErrorText(plat::LastError()) << ")\n";
    return kExitFailed;
  }
  std::cout << path << ": EDF+, " << Summary(record) << " in uV; " << beatText << " and "
            << record.Interpretation.size() << " interpretation lines as annotations\n";
  return kExitOk;
}

int RunExport(const ExportOptions& options) {
  if (options.Raw && options.Format != "csv") {
    std::cerr << "scpecg export: --raw is for CSV\n";
    return kExitUsage;
  }
  CReader reader;
  uint16_t loaded = 0;
  const uint16_t section = options.Median ? kSection5 : kSection6;
  // CSV needs the waveforms and who wrote them; WFDB and EDF+ carry the header data too.
  const uint16_t request =
      options.Format == "csv" ? static_cast<uint16_t>(kSection1 | kSection3 | kSection5 | kSection6)
                              : static_cast<uint16_t>(kAllSections);
  std::string encoding;
  if (!reader.LoadDecoded(options.File.c_str(), &loaded, request, &encoding)) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  const std::string header = ReadForeignHeader(options.File, reader);
  if (!header.empty()) std::cerr << header << "\n";
  // The CSV may go to stdout: what was decoded is said on stderr.
  if (!encoding.empty()) std::cerr << options.File << ": decoded " << encoding << "\n";
  if (!(reader.Loaded & section)) {
    const uint32_t error = plat::LastError();
    const std::string unread = UnreadSectionText(UnloadedSections(options.File, reader),
                                                 {3, options.Median ? uint16_t{5} : uint16_t{6}});
    std::cerr << options.File << ": no " << (options.Median ? "reference beats" : "rhythm data")
              << " loaded: "
              << (unread.empty() ? ErrorText(error != 0 ? error : plat::kErrNoData) : unread)
              << "\n";
    return kExitFailed;
  }
  if (options.Derive && !reader.GenerateCalculatedLeads()) {
    std::cerr << options.File << ": deriving leads: " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  SEncodedData& data = options.Median ? reader.Median : reader.Rhythm;
  const std::string scale =
      AssumeScaleWhenNone(options.File, options.Median ? "reference beats" : "rhythm data", data);
  if (!scale.empty()) std::cerr << scale << "\n";
  // Only a writer that uses them means 2032-2034 as lead-error markers.
  const bool markers = options.Median || WriterUsesMarkers(reader);
  if (!markers && HoldsMarkerValues(data)) std::cerr << SignalNote(options.File, reader) << "\n";
  if (options.Format == "csv") return WriteCsvFile(options, data, reader.LeadDefinitions);
  return WriteRecordFile(options, reader, data, markers);
}

}  // namespace

void AddExportCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand(
      "export",
      "Write the rhythm (or reference beat) samples as CSV in microvolts, or the record as "
      "WFDB or EDF+ with the beats of its analysis");
  command->add_option("file", options->File, "SCP-ECG file")->required();
  command->add_option("--format", options->Format, "csv, wfdb (.hea, .dat, .atr) or edf (EDF+)")
      ->check(CLI::IsMember({"csv", "wfdb", "edf"}))
      ->capture_default_str();
  command->add_option("-o,--output", options->Output,
                      "File to write (CSV default: stdout; WFDB: the record, NAME or NAME.hea; "
                      "default: FILE without its extension, beside it)");
  command->add_flag("--median", options->Median, "Export the reference beats (Section 5)");
  command->add_flag("--derive", options->Derive,
                    "Compute III, aVR, aVL and aVF where missing first");
  command->add_flag("--raw", options->Raw, "CSV: sample values as stored instead of microvolts");
  command->callback([options, &status] { status = RunExport(*options); });
}

}  // namespace scpecg
