// scpecg export: the samples as CSV, one column per lead, one row per sample.
#include <fstream>
#include <iostream>

#include "commands.h"
#include "decoded_waveforms.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "record/lead_labels.h"

namespace scpecg {

namespace {

struct ExportOptions {
  std::string File;
  std::string Output;
  bool Median = false;
  bool Derive = false;
  bool Raw = false;
};

// Microvolts with at most three decimals and no trailing zeros.
std::string Microvolts(int16_t sample, uint16_t avm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", sample * static_cast<double>(avm) / 1000.0);
  std::string value = text;
  value.erase(value.find_last_not_of('0') + 1);
  if (value.back() == '.') value.pop_back();
  return value == "-0" ? "0" : value;
}

void WriteCsv(std::ostream& out, const SEncodedData& data, const SLeadDefinitions& leads,
              bool raw) {
  unsigned rows = 0;
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    if (i > 0) out << ',';
    out << (i < leads.Count ? LeadLabel(leads.Leads[i].LeadId) : "lead " + std::to_string(i + 1));
    if (data.LeadSamples[i] != nullptr && data.SampleCounts[i] > rows) rows = data.SampleCounts[i];
  }
  out << '\n';
  for (unsigned row = 0; row < rows; ++row) {
    for (unsigned i = 0; i < data.LeadCount; ++i) {
      if (i > 0) out << ',';
      const int16_t* samples = data.LeadSamples[i];
      if (samples == nullptr || row >= data.SampleCounts[i]) continue;  // shorter lead
      if (raw) {
        out << samples[row];
      } else {
        out << Microvolts(samples[row], data.AVM);
      }
    }
    out << '\n';
  }
}

int RunExport(const ExportOptions& options) {
  CReader reader;
  uint16_t loaded = 0;
  const uint16_t section = options.Median ? kSection5 : kSection6;
  if (!reader.Load(options.File.c_str(), &loaded,
                   static_cast<uint16_t>(kSection3 | kSection5 | kSection6))) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  const std::string encoding = DecodeIntoReader(options.File, reader);
  // The CSV may go to stdout: what was decoded is said on stderr.
  if (!encoding.empty()) std::cerr << options.File << ": decoded " << encoding << "\n";
  if (!(reader.Loaded & section)) {
    const uint32_t error = plat::LastError();
    std::cerr << options.File << ": no " << (options.Median ? "reference beats" : "rhythm data")
              << " loaded: " << ErrorText(error != 0 ? error : plat::kErrNoData) << "\n";
    return kExitFailed;
  }
  if (options.Derive && !reader.GenerateCalculatedLeads()) {
    std::cerr << options.File << ": deriving leads: " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  const SEncodedData& data = options.Median ? reader.Median : reader.Rhythm;
  if (options.Output.empty()) {
    WriteCsv(std::cout, data, reader.LeadDefinitions, options.Raw);
    return kExitOk;
  }
  std::ofstream out(options.Output, std::ios::trunc);
  WriteCsv(out, data, reader.LeadDefinitions, options.Raw);
  out.close();
  if (!out) {
    std::cerr << options.Output << ": cannot be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand(
      "export", "Write the rhythm (or reference beat) samples as CSV, in microvolts");
  command->add_option("file", options->File, "SCP-ECG file")->required();
  command->add_option("-o,--output", options->Output, "CSV file to write (default: stdout)");
  command->add_flag("--median", options->Median, "Export the reference beats (Section 5)");
  command->add_flag("--derive", options->Derive,
                    "Compute III, aVR, aVL and aVF where missing first");
  command->add_flag("--raw", options->Raw, "Sample values as stored instead of microvolts");
  command->callback([options, &status] { status = RunExport(*options); });
}

}  // namespace scpecg
