// scpecg edit: changes header fields of an SCP-ECG file, one rewrite per option, in
// the order the options were given.
#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "commands.h"
#include "failure_place.h"
#include "file_rewrite.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "record/string_field.h"
#include "utf8_text.h"
#include "writer/writer.h"

namespace scpecg {

namespace {

// Applies one option's value to the file; *done says what changed.
using Edit = std::function<bool(const char* file, const std::string& value, std::string* done)>;

struct EditCommand {
  std::string File;
  bool InPlace = false;
  std::map<const CLI::Option*, Edit> Edits;
};

// Adds option `flag` taking one value, run by `edit` when given.
CLI::Option* AddEdit(CLI::App& command, EditCommand& edits, const std::string& flag,
                     const std::string& description, Edit edit) {
  CLI::Option* option = command.add_option(flag, CLI::callback_t{}, description);
  edits.Edits[option] = std::move(edit);
  return option;
}

// A writer that names scpecg as the application that changed the file.
template <typename Update>
bool WithWriter(Update update) {
  CWriter writer;
  return SelectToolWriter(writer) && update(writer);
}

// Command-line text as a wide string; empty text clears the field.
bool Wide(const std::string& value, plat::WideString* wide) {
  return Utf8ToWide(value, wide) || plat::FailWith(plat::kErrInvalidData);
}

std::string Cleared(const std::string& what, const std::string& value) {
  return what + (value.empty() ? " cleared" : " set");
}

bool ParseDate(const std::string& text, unsigned* year, unsigned* month, unsigned* day) {
  char end = 0;
  return text.size() == 10 &&
         std::sscanf(text.c_str(), "%4u-%2u-%2u%c", year, month, day, &end) == 3 &&
         text[4] == '-' && text[7] == '-' && *month >= 1 && *month <= 12 && *day >= 1 && *day <= 31;
}

bool ParseDateTime(const std::string& text, SDateTime* when) {
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char end = 0;
  if (text.size() != 19 || !ParseDate(text.substr(0, 10), &year, &month, &day) || text[10] != ' ' ||
      std::sscanf(text.c_str() + 11, "%2u:%2u:%2u%c", &hour, &minute, &second, &end) != 3 ||
      text[13] != ':' || text[16] != ':' || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  *when = SDateTime{static_cast<uint16_t>(year),   static_cast<uint16_t>(month),
                    static_cast<uint16_t>(day),    static_cast<uint16_t>(hour),
                    static_cast<uint16_t>(minute), static_cast<uint16_t>(second)};
  return true;
}

// Usage errors are caught by CLI11 before anything is written.
const CLI::Validator kUtf8(
    [](std::string& value) {
      plat::WideString wide;
      return Utf8ToWide(value, &wide) ? std::string() : std::string("not UTF-8 text");
    },
    "TEXT");
const CLI::Validator kDate(
    [](std::string& value) {
      unsigned y = 0, m = 0, d = 0;
      return ParseDate(value, &y, &m, &d) ? std::string() : std::string("expected YYYY-MM-DD");
    },
    "YYYY-MM-DD");
const CLI::Validator kDateTime(
    [](std::string& value) {
      SDateTime when{};
      return ParseDateTime(value, &when) ? std::string()
                                         : std::string("expected \"YYYY-MM-DD hh:mm:ss\"");
    },
    "\"YYYY-MM-DD hh:mm:ss\"");

void AddTextEdits(CLI::App& command, EditCommand& edits) {
  using TextUpdate = bool (CWriter::*)(const char*, const plat::OleChar*);
  struct TextOption {
    const char* Flag;
    const char* What;
    TextUpdate Update;
  };
  const TextOption options[] = {
      {"--comment", "comment", &CWriter::UpdateCommentText},
      {"--interpretation", "interpretation", &CWriter::UpdateInterpretationText},
      {"--location", "recording location", &CWriter::UpdateRecordingLocation},
      {"--recording-id", "recording id", &CWriter::UpdateRecordingId},
      {"--recording-app", "recording application", &CWriter::UpdateRecordingApp},
      {"--recording-ver", "recording application version", &CWriter::UpdateRecordingVer},
      {"--interpretation-app", "interpretation application", &CWriter::UpdateInterpretationApp},
      {"--interpretation-ver", "interpretation application version",
       &CWriter::UpdateInterpretationVer}};
  for (const TextOption& option : options) {
    const std::string what = option.What;
    AddEdit(command, edits, option.Flag, "Set the " + what + " (\"\" clears it)",
            [what, update = option.Update](const char* file, const std::string& value,
                                           std::string* done) {
              plat::WideString wide;
              *done = Cleared(what, value);
              return Wide(value, &wide) && WithWriter([&](CWriter& writer) {
                       return (writer.*update)(file, value.empty() ? nullptr : wide.c_str());
                     });
            })
        ->check(kUtf8);
  }
  // UpdatePhysicianName's selector: 0 overreading, 1 interpretation, 2 recording.
  const char* physicians[] = {"overreading", "interpretation", "recording"};
  for (int16_t which = 0; which < 3; ++which) {
    const std::string what = std::string(physicians[which]) + " physician";
    AddEdit(command, edits, "--" + std::string(physicians[which]) + "-physician",
            "Set the " + what + "'s name (\"\" clears it)",
            [what, which](const char* file, const std::string& value, std::string* done) {
              plat::WideString wide;
              *done = Cleared(what, value);
              return Wide(value, &wide) && WithWriter([&](CWriter& writer) {
                       return writer.UpdatePhysicianName(file, which,
                                                         value.empty() ? nullptr : wide.c_str());
                     });
            })
        ->check(kUtf8);
  }
}

void AddFlagEdits(CLI::App& command, EditCommand& edits) {
  AddEdit(command, edits, "--confirmed", "Mark the interpretation confirmed or not",
          [](const char* file, const std::string& value, std::string* done) {
            *done = "interpretation confirmed: " + value;
            return WithWriter([&](CWriter& writer) {
              return writer.UpdateInterpretationConfirmed(file, value == "yes" ? 1 : 0);
            });
          })
      ->check(CLI::IsMember({"yes", "no"}));
  AddEdit(command, edits, "--received", "Set the received date and time",
          [](const char* file, const std::string& value, std::string* done) {
            SDateTime when{};
            ParseDateTime(value, &when);
            *done = "received set to " + value;
            return WithWriter([&](CWriter& writer) { return writer.UpdateReceived(file, &when); });
          })
      ->check(kDateTime);
  using FlagUpdate = bool (CWriter::*)(const char*, int16_t);
  const std::pair<const char*, FlagUpdate> switches[] = {
      {"muscle", &CWriter::UpdateMuscleFilter}, {"baseline", &CWriter::UpdateBaselineFilter}};
  for (const auto& [name, update] : switches) {
    const std::string what = std::string(name) + " filter";
    AddEdit(command, edits, "--" + what.substr(0, what.find(' ')) + "-filter",
            "Whether the " + what + " was in force",
            [what, update = update](const char* file, const std::string& value, std::string* done) {
              *done = what;
              done->append(" ").append(value);
              return WithWriter([&](CWriter& writer) {
                return (writer.*update)(file, static_cast<int16_t>(value == "on" ? 1 : 0));
              });
            })
        ->check(CLI::IsMember({"on", "off"}));
  }
  AddEdit(
      command, edits, "--power-filter", "The mains filter in force",
      [](const char* file, const std::string& value, std::string* done) {
        *done = "power filter " + (value == "off" ? value : value + " Hz");
        const auto hertz = static_cast<int16_t>(value == "off" ? 0 : std::stoi(value));
        return WithWriter([&](CWriter& writer) { return writer.UpdatePowerFilter(file, hertz); });
      })
      ->check(CLI::IsMember({"50", "60", "off"}));
}

// The patient record as the file holds it (defaults without a Section 1), changed by
// `change` and written back whole.
bool UpdatePatient(const char* file, const std::function<bool(CPatientInfo&)>& change) {
  CPatientInfo patient;
  if (!CReader::ReadPatient(file, &patient, nullptr)) {
    if (plat::LastError() != plat::kErrSuccess) return false;
    patient.SetDefault();
  }
  return change(patient) &&
         WithWriter([&](CWriter& writer) { return writer.UpdateFile(file, &patient, nullptr); });
}

// A patient field edit: `set` changes the record read from the file.
Edit PatientEdit(const std::string& what, const std::string& unit,
                 std::function<bool(CPatientInfo&, const std::string&)> set) {
  return [what, unit, set = std::move(set)](const char* file, const std::string& value,
                                            std::string* done) {
    *done = what + " set to " + value + unit;
    return UpdatePatient(file, [&](CPatientInfo& patient) { return set(patient, value); });
  };
}

void AddPatientEdits(CLI::App& command, EditCommand& edits) {
  const std::pair<const char*, plat::Bstr CPatientInfo::*> texts[] = {
      {"patient-id", &CPatientInfo::PatientId},
      {"last-name", &CPatientInfo::LastName},
      {"first-name", &CPatientInfo::FirstName}};
  for (const auto& [name, field] : texts) {
    std::string what = name;
    what[what.find('-')] = ' ';
    AddEdit(command, edits, "--" + std::string(name), "Set the patient's " + what,
            [what, field = field](const char* file, const std::string& value, std::string* done) {
              *done = Cleared(what, value);
              return UpdatePatient(file, [&](CPatientInfo& patient) {
                plat::WideString wide;
                if (!Wide(value, &wide)) return false;
                FreeString(&(patient.*field));
                if (value.empty()) return true;
                patient.*field = plat::SysAllocString(wide.c_str());
                return patient.*field != nullptr || plat::FailWith(plat::kErrOutOfMemory);
              });
            })
        ->check(kUtf8);
  }
  AddEdit(command, edits, "--birth", "Set the date of birth",
          PatientEdit("date of birth", "",
                      [](CPatientInfo& patient, const std::string& value) {
                        unsigned year = 0, month = 0, day = 0;
                        ParseDate(value, &year, &month, &day);
                        patient.YearOfBirth = static_cast<uint16_t>(year);
                        patient.MonthOfBirth = static_cast<uint16_t>(month);
                        patient.DayOfBirth = static_cast<uint16_t>(day);
                        return true;
                      }))
      ->check(kDate);
  AddEdit(command, edits, "--gender", "Set the patient's sex",
          PatientEdit("sex", "",
                      [](CPatientInfo& patient, const std::string& value) {
                        patient.Gender = value == "male"          ? 1
                                         : value == "female"      ? 2
                                         : value == "unspecified" ? 9
                                                                  : 0;
                        return true;
                      }))
      ->check(CLI::IsMember({"male", "female", "unknown", "unspecified"}));
  AddEdit(command, edits, "--height", "Set the height in millimetres",
          PatientEdit("height", " mm",
                      [](CPatientInfo& patient, const std::string& value) {
                        patient.Height = static_cast<uint16_t>(std::stoul(value));
                        return true;
                      }))
      ->check(CLI::Range(0, 65535));
  AddEdit(command, edits, "--weight", "Set the weight in grams",
          PatientEdit("weight", " g",
                      [](CPatientInfo& patient, const std::string& value) {
                        patient.Weight = static_cast<uint32_t>(std::stoul(value));
                        return true;
                      }))
      ->check(CLI::Range(0, 2147483647));
}

int RunEdit(const CLI::App& command, const EditCommand& edits) {
  std::vector<const CLI::Option*> order;
  for (const CLI::Option* option : command.parse_order()) {
    if (edits.Edits.count(option) != 0) order.push_back(option);
  }
  if (order.empty()) {
    std::cerr << "scpecg edit: say what to change (see --help)\n";
    return kExitUsage;
  }
  // On a copy every option applies or none does; in place each is one rewrite, and
  // those before a failing one stay applied.
  FileRewrite rewrite(edits.File, edits.InPlace);
  auto failed = [&](const CLI::Option* option) {
    const uint32_t error = plat::LastError();
    std::cerr << edits.File << ": " << option->get_name() << " not applied: " << ErrorText(error)
              << FailurePlace(edits.File, error) << rewrite.Note() << "\n";
    return kExitFailed;
  };
  if (!rewrite.Begin()) return failed(order.front());
  std::vector<std::string> done;
  for (const CLI::Option* option : order) {
    rewrite.Checkpoint();
    std::string line;
    if (!edits.Edits.at(option)(rewrite.Target().c_str(), option->as<std::string>(), &line)) {
      return failed(option);
    }
    if (edits.InPlace) {
      std::cout << edits.File << ": " << line << "\n";
    } else {
      done.push_back(std::move(line));
    }
  }
  if (!rewrite.Commit()) {
    std::cerr << edits.File << ": not replaced by the edited copy: " << ErrorText(plat::LastError())
              << rewrite.Note() << "\n";
    return kExitFailed;
  }
  for (const std::string& line : done) std::cout << edits.File << ": " << line << "\n";
  return kExitOk;
}

}  // namespace

void AddEditCommand(CLI::App& app, int& status) {
  auto edits = std::make_shared<EditCommand>();
  CLI::App* command = app.add_subcommand(
      "edit", "Change header fields of an SCP-ECG file; several options apply in the order given");
  command->add_option("file", edits->File, "SCP-ECG file to edit")->required();
  AddInPlaceFlag(*command, edits->InPlace);
  AddTextEdits(*command, *edits);
  AddFlagEdits(*command, *edits);
  AddPatientEdits(*command, *edits);
  command->callback([command, edits, &status] { status = RunEdit(*command, *edits); });
}

}  // namespace scpecg
