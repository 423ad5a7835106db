// scpecg import: records from the formats researchers and other tools write (WFDB,
// EDF/EDF+, CSV), every lead with its lead code, marker-safe.
#include <cmath>
#include <cstdio>
#include <iostream>

#include "acquisition_window.h"
#include "commands.h"
#include "file_rewrite.h"
#include "interchange/csv_import.h"
#include "interchange/edf_import.h"
#include "interchange/import_writer.h"
#include "interchange/wfdb_import.h"
#include "patient_options.h"
#include "platform/errors.h"

namespace scpecg {

namespace {

struct ImportOptions {
  std::string From;
  std::string File;
  std::string Output;
  uint16_t Avm = 0;
  std::vector<std::string> Leads;
  double Gain = 0;
  double Rate = 0;
  std::string Units = "uV";
  PatientOptions Patient;
  SampleWindow Window;
  bool InPlace = false;
};

int Failed(const std::string& what, const std::string& why) {
  std::cerr << what << ": " << why << " (" << ErrorText(plat::LastError()) << ")\n";
  return kExitFailed;
}

int Refused(const std::string& message) {
  std::cerr << "scpecg import: " << message << "\n";
  return kExitFailed;
}

bool Read(const ImportOptions& options, SSignalSet* set, std::string* why) {
  SImportOptions wanted;
  wanted.Leads = options.Leads;
  wanted.Gain = options.Gain;
  wanted.Rate = options.Rate;
  wanted.MicrovoltsPerUnit = options.Units == "mV" ? 1000 : 1;
  if (options.From == "wfdb") return ImportWfdb(options.File, wanted, set, why);
  if (options.From == "edf") return ImportEdf(options.File, wanted, set, why);
  return ImportCsv(options.File, wanted, set, why);
}

// The part of the leads to store: the window asked for, within the cap; false after
// saying why when there is none.
bool Window(const ImportOptions& options, const SSignalSet& set, SampleRange* range) {
  const uint64_t total = set.SampleCount();
  *range = {0, total};
  if (options.Window.Given) {
    *range = WindowSamples(options.Window, set.Rate, total);
    if (range->Count == 0) {
      char length[64];
      std::snprintf(length, sizeof(length), "%.3f s", static_cast<double>(total) / set.Rate);
      Refused(options.File + ": --start lies at or after its end (" + length + ")");
      return false;
    }
  }
  if (range->Count > kMaxStoredSamples) {
    Refused(options.Window.Given
                ? TooLongMessage("the window of " + options.File, range->Count, set.Rate) +
                      ": give a shorter --seconds"
                : TooLongMessage(options.File, range->Count, set.Rate) +
                      ": store a part of it with --start S --seconds N");
    return false;
  }
  return true;
}

void Cut(const SampleRange& range, SSignalSet* set) {
  for (SSignal& signal : set->Signals) {
    const auto first = signal.Microvolts.begin() + static_cast<std::ptrdiff_t>(range.First);
    signal.Microvolts.assign(first, first + static_cast<std::ptrdiff_t>(range.Count));
  }
}

void Describe(const ImportOptions& options, const SSignalSet& set, const SampleRange& range,
              const SScaling& scaling) {
  const double stored = 1e6 / SampleIntervalFor(set.Rate);
  char line[160];
  std::snprintf(line, sizeof(line), ", %zu %s of %zu samples at %g Hz, AVM %u nV",
                set.Signals.size(), set.Signals.size() == 1 ? "lead" : "leads", set.SampleCount(),
                stored, static_cast<unsigned>(scaling.AVM));
  std::cout << options.Output << ": imported from " << options.From << " " << options.File;
  if (options.Window.Given) {
    char window[96];
    std::snprintf(window, sizeof(window), " (%.3f s to %.3f s)",
                  static_cast<double>(range.First) / set.Rate,
                  static_cast<double>(range.First + range.Count) / set.Rate);
    std::cout << window;
  }
  std::cout << line << "\n";
  if (scaling.MovedSamples > 0) {
    std::cout << options.Output << ": " << scaling.MovedSamples
              << (scaling.MovedSamples == 1 ? " sample" : " samples")
              << " moved off the marker values\n";
  }
  if (scaling.InvalidSamples > 0) {
    std::cout << options.Output << ": " << scaling.InvalidSamples
              << (scaling.InvalidSamples == 1 ? " invalid sample" : " invalid samples")
              << " stored as the lead-off marker 2032\n";
  }
  if (std::fabs(stored - set.Rate) > set.Rate * 1e-3) {
    std::cerr << "scpecg import: note: " << set.Rate << " Hz is stored as " << stored
              << " Hz (a sample interval of " << SampleIntervalFor(set.Rate) << " us)\n";
  }
}

int RunImport(const ImportOptions& options) {
  const std::string what = options.Output + " from " + options.From + " " + options.File;
  SSignalSet set;
  std::string why;
  if (!Read(options, &set, &why)) return Failed(what, why);
  for (const std::string& note : set.Notes) std::cerr << "scpecg import: note: " << note << "\n";
  SampleRange range;
  if (!Window(options, set, &range)) return kExitFailed;
  Cut(range, &set);
  for (size_t i = 0; i < set.Signals.size(); ++i) {
    if (set.Signals[i].LeadCode == 0) {
      std::cerr << "scpecg import: note: lead " << i + 1 << " '" << set.Signals[i].Name
                << "' has no standard lead code: stored as unspecified, its name in the "
                   "comment\n";
    }
  }
  CPatientInfo patient;
  SourcePatient(set.Source, &patient);
  CImportWriter writer;
  if (!SelectToolWriter(writer) || !ApplyPatientOptions(options.Patient, &patient)) {
    return Failed(what, "the patient options");
  }
  // Written beside OUT and renamed over it once complete, as create does.
  FileRewrite rewrite(options.Output, options.InPlace, FileRewrite::Kind::Create);
  if (!rewrite.Begin()) return Failed(what, "the new file");
  SScaling scaling;
  if (!writer.CreateFromSignals(rewrite.Target().c_str(), set, &patient, options.Avm, &scaling,
                                &why)) {
    return Failed(what, why);
  }
  if (!rewrite.Commit()) return Failed(what, "the new file");
  Describe(options, set, range, scaling);
  return kExitOk;
}

int CheckUsage(const ImportOptions& options) {
  auto usage = [](const std::string& message) {
    std::cerr << "scpecg import: " << message << "\n";
    return kExitUsage;
  };
  if (options.From == "csv" && !(options.Rate > 0)) {
    return usage("a CSV file carries no sampling rate: give --rate");
  }
  if (options.From != "csv" && options.Rate != 0) return usage("--rate is for CSV files");
  if (options.From != "wfdb" && options.Gain != 0) return usage("--gain is for WFDB records");
  return kExitOk;
}

}  // namespace

void AddImportCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* command = app.add_subcommand(
      "import", "Create an SCP-ECG file from a WFDB record, an EDF/EDF+ file or a CSV file");
  command->add_option("--from", options->From, "Input format")
      ->required()
      ->check(CLI::IsMember({"wfdb", "edf", "csv"}));
  command->add_option("file", options->File, "WFDB header (NAME.hea or NAME), EDF or CSV file")
      ->required();
  command->add_option("-o,--output", options->Output, "SCP-ECG file to create")->required();
  AddInPlaceFlag(*command, options->InPlace);
  command
      ->add_option("--avm", options->Avm,
                   "Nanovolts per sample unit (default: the input's resolution, raised until "
                   "every sample fits 16 bits)")
      ->check(CLI::Range(1, 65535));
  command
      ->add_option("--leads", options->Leads,
                   "Leads to store, in this order: names or 1-based numbers (default: every "
                   "lead that is a voltage)")
      ->delimiter(',');
  command
      ->add_option("--gain", options->Gain,
                   "WFDB: take the stored values as this many ADC units per mV, baseline 0 "
                   "(LUDB: 1000)")
      ->check(CLI::PositiveNumber);
  command->add_option("--rate", options->Rate, "CSV: sampling rate in Hz (required)")
      ->check(CLI::PositiveNumber);
  command->add_option("--units", options->Units, "CSV: the values' units")
      ->check(CLI::IsMember({"uV", "mV"}))
      ->capture_default_str();
  command->add_option("--start", options->Window.Start, "Store the input from S seconds on")
      ->check(CLI::NonNegativeNumber);
  command
      ->add_option("--seconds", options->Window.Seconds,
                   "Store N seconds of it (default: to the end); a record holds at most 32767 "
                   "samples per lead")
      ->check(CLI::PositiveNumber);
  AddPatientOptions(command, options->Patient);
  command->callback([options, command, &status] {
    options->Window.Given = command->count("--start") + command->count("--seconds") > 0;
    status = CheckUsage(*options);
    if (status == kExitOk) status = RunImport(*options);
  });
}

}  // namespace scpecg
