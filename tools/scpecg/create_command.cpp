// scpecg create: new SCP-ECG files, empty or from a device acquisition with the
// patient's data.
#include <cstdio>
#include <iostream>
#include <vector>

#include "acquisition/bio_reader.h"
#include "commands.h"
#include "file_rewrite.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "reader/reader.h"
#include "record/patient_info.h"
#include "utf8_text.h"
#include "writer/writer.h"

namespace scpecg {

namespace {

struct CreateOptions {
  std::string File;  // the output with --empty, the acquisition with --from
  std::string Output;
  bool Empty = false;
  std::string From;
  int16_t Leads = 8;
  double Rate = 0;
  double Resolution = 0;
  bool Unsigned = false;
  std::string PatientId;
  std::string LastName;
  std::string FirstName;
  std::string Birth;
  std::string Gender;
  uint16_t Height = 0;
  uint32_t Weight = 0;
  bool InPlace = false;
};

// The names of the files that CreateFromBioFile writes for a Bio file of `events` events.
struct EventNames : CWriter {
  static std::vector<std::string> For(const std::string& output, int16_t events) {
    std::vector<std::string> names;
    if (events == 1) names.push_back(output);
    for (int16_t i = 0; events > 1 && i < events; ++i) {
      char name[plat::kMaxPath] = {};
      CreateEventFileName(name, output.c_str(), i);
      names.emplace_back(name);
    }
    return names;
  }
};

int Failed(const std::string& what) {
  std::cerr << what << ": " << ErrorText(plat::LastError()) << "\n";
  return kExitFailed;
}

bool SetText(plat::Bstr* field, const std::string& text) {
  if (text.empty()) return true;
  plat::WideString wide;
  if (!Utf8ToWide(text, &wide)) {
    plat::SetLastError(plat::kErrInvalidData);
    return false;
  }
  plat::SysFreeString(*field);
  *field = plat::SysAllocString(wide.c_str());
  return *field != nullptr;
}

bool FillPatient(const CreateOptions& options, CPatientInfo* patient) {
  if (!SetText(&patient->PatientId, options.PatientId) ||
      !SetText(&patient->LastName, options.LastName) ||
      !SetText(&patient->FirstName, options.FirstName)) {
    return false;
  }
  if (!options.Birth.empty()) {
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    std::sscanf(options.Birth.c_str(), "%4u-%2u-%2u", &year, &month, &day);
    patient->YearOfBirth = static_cast<uint16_t>(year);
    patient->MonthOfBirth = static_cast<uint16_t>(month);
    patient->DayOfBirth = static_cast<uint16_t>(day);
  }
  if (options.Gender == "male") patient->Gender = 1;
  if (options.Gender == "female") patient->Gender = 2;
  if (options.Gender == "unspecified") patient->Gender = 9;
  patient->Height = options.Height;
  patient->Weight = options.Weight;
  return true;
}

// One line per created file: what the file holds, as a reader sees it.
void Describe(const std::string& file, const std::string& source) {
  CReader reader;
  uint16_t loaded = 0;
  reader.Load(file.c_str(), &loaded, kSection3 | kSection6);
  std::cout << file << ": created from " << source;
  if ((loaded & kSection6) != 0 && reader.Rhythm.SampleInterval != 0) {
    char rate[32];
    std::snprintf(rate, sizeof(rate), "%g", 1e6 / reader.Rhythm.SampleInterval);
    const unsigned samples = reader.Rhythm.LeadCount > 0 ? reader.Rhythm.SampleCounts[0] : 0;
    const unsigned leads = reader.Rhythm.LeadCount;
    std::cout << ", " << leads << (leads == 1 ? " lead of " : " leads of ") << samples
              << " samples at " << rate << " Hz, " << reader.Rhythm.AVM << " nV";
  }
  std::cout << "\n";
}

// The events of a Bio file written beside OUT under the copy's name, put in place one
// by one; what is not put in place is removed.
bool PlaceEvents(const std::vector<std::string>& written, const std::vector<std::string>& names,
                 bool place) {
  for (size_t i = 0; i < written.size(); ++i) {
    if (written[i] == names[i]) continue;
    if (place && plat::RenameOver(written[i].c_str(), names[i].c_str())) continue;
    place = false;
    plat::KeepLastError keep;
    plat::RemoveFile(written[i].c_str());
  }
  return place;
}

int CreateFrom(const CreateOptions& options) {
  CWriter writer;
  CPatientInfo patient;
  const std::string source = options.From + " " + options.File;
  // Whether the acquisition or the new file failed, the message names both.
  const std::string what = options.Output + " from " + source;
  FileRewrite rewrite(options.Output, options.InPlace, FileRewrite::Kind::Create);
  if (!SelectToolWriter(writer) || !FillPatient(options, &patient) || !rewrite.Begin()) {
    return Failed(what);
  }
  const char* out = rewrite.Target().c_str();
  const char* in = options.File.c_str();
  bool created = false;
  if (options.From == "raw12") {
    created =
        writer.CreateFromRaw12L(out, in, &patient, options.Resolution, options.Rate, options.Leads);
  } else if (options.From == "8bit") {
    created = writer.CreateFrom8bitFile(out, in, &patient, options.Unsigned, options.Resolution,
                                        options.Rate);
  } else if (options.From == "16bit") {
    created = writer.CreateFrom16bitFile(out, in, &patient, options.Unsigned, options.Resolution,
                                         options.Rate);
  } else {
    // Count the events first, to name every file written.
    CBioReader bio;
    int16_t events = 0;
    if (!bio.ReadEvents(in, &events)) return Failed(what);
    bio.ClearEvents();
    const std::vector<std::string> written = EventNames::For(rewrite.Target(), events);
    const std::vector<std::string> names = EventNames::For(options.Output, events);
    if (!writer.CreateFromBioFile(out, in, &patient)) {
      if (events > 1) PlaceEvents(written, names, false);
      return Failed(what);
    }
    if (!(events == 1 ? rewrite.Commit() : PlaceEvents(written, names, true))) return Failed(what);
    for (size_t i = 0; i < names.size(); ++i) {
      Describe(names[i], source + " (event " + std::to_string(i + 1) + " of " +
                             std::to_string(names.size()) + ")");
    }
    return kExitOk;
  }
  if (!created || !rewrite.Commit()) return Failed(what);
  Describe(options.Output, source);
  return kExitOk;
}

int RunCreate(CreateOptions options) {
  if (options.Empty == !options.From.empty()) {
    std::cerr << "scpecg create: say what to create from (--empty or --from FORMAT INPUT)\n";
    return kExitUsage;
  }
  if (options.Empty) {
    if (options.File.empty() == options.Output.empty()) {
      std::cerr << "scpecg create --empty: name the file once, as OUT or -o OUT\n";
      return kExitUsage;
    }
    if (options.Output.empty()) options.Output = options.File;
    CWriter writer;
    FileRewrite rewrite(options.Output, options.InPlace, FileRewrite::Kind::Create);
    if (!rewrite.Begin() || !writer.CreateEmpty(rewrite.Target().c_str()) || !rewrite.Commit()) {
      return Failed(options.Output);
    }
    std::cout << options.Output << ": created\n";
    return kExitOk;
  }
  if (options.File.empty() || options.Output.empty()) {
    std::cerr << "scpecg create --from: give the acquisition INPUT and -o OUT\n";
    return kExitUsage;
  }
  if (options.From == "raw12" && (options.Rate <= 0 || options.Resolution <= 0)) {
    std::cerr << "scpecg create --from raw12: raw files carry neither sampling rate nor "
                 "resolution; give --rate and --resolution\n";
    return kExitUsage;
  }
  return CreateFrom(options);
}

// YYYY-MM-DD with a plausible month and day.
std::string CheckDate(const std::string& text) {
  unsigned year = 0;
  unsigned month = 0;
  unsigned day = 0;
  char rest = 0;
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                      std::sscanf(text.c_str(), "%4u-%2u-%2u%c", &year, &month, &day, &rest) == 3;
  if (!shaped || month < 1 || month > 12 || day < 1 || day > 31) return "not a date YYYY-MM-DD";
  return std::string();
}

}  // namespace

void AddCreateCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<CreateOptions>();
  CLI::App* command = app.add_subcommand(
      "create", "Create an SCP-ECG file: empty, or from a device acquisition and patient data");
  command->add_option("file", options->File,
                      "With --empty the file to create; with --from the acquisition to read");
  command->add_option("-o,--output", options->Output, "SCP-ECG file to create");
  CLI::Option* empty =
      command->add_flag("--empty", options->Empty, "An empty record: Section 0 alone (142 bytes)");
  CLI::Option* from =
      command
          ->add_option("--from", options->From,
                       "Acquisition format; a Bio file of several events gives one file each, "
                       "named OUT with .a, .b, ... before the extension")
          ->check(CLI::IsMember({"raw12", "8bit", "16bit", "bio"}));
  empty->excludes(from);
  AddInPlaceFlag(*command, options->InPlace);
  std::vector<CLI::Option*> acquisition = {
      command
          ->add_option("--leads", options->Leads,
                       "raw12 lead configuration: 1, 2 or 6 (I, II), 8 or 12 (I, II, V1-V6)")
          ->check(CLI::IsMember({1, 2, 6, 8, 12}))
          ->capture_default_str(),
      command->add_option("--rate", options->Rate,
                          "Sampling rate in Hz (raw12: required; 8bit/16bit: 0 or absent takes "
                          "the reader's default)"),
      command->add_option("--resolution", options->Resolution,
                          "Nanovolts per count (raw12: required; 8bit/16bit: 0 or absent takes "
                          "the reader's default)"),
      command->add_flag("--unsigned", options->Unsigned, "8bit/16bit samples are offset binary"),
      command->add_option("--patient-id", options->PatientId, "Patient ID"),
      command->add_option("--last-name", options->LastName, "Patient's last name"),
      command->add_option("--first-name", options->FirstName, "Patient's first name"),
      command->add_option("--birth", options->Birth, "Date of birth, YYYY-MM-DD")
          ->check(CheckDate, "YYYY-MM-DD"),
      command->add_option("--gender", options->Gender, "Patient's sex")
          ->check(CLI::IsMember({"male", "female", "unknown", "unspecified"})),
      command->add_option("--height", options->Height, "Height in millimetres"),
      command->add_option("--weight", options->Weight, "Weight in grams"),
  };
  for (CLI::Option* option : acquisition) option->excludes(empty);
  command->callback([options, &status] { status = RunCreate(*options); });
}

}  // namespace scpecg
