#include "interchange/wfdb_import.h"

#include <cmath>
#include <limits>

#include "interchange/lead_names.h"
#include "interchange/source_units.h"
#include "interchange/text_fields.h"
#include "interchange/wfdb_record.h"
#include "interchange/wfdb_signal_file.h"
#include "platform/errors.h"
#include "platform/path.h"
#include "record/codes.h"

namespace {

using ktx::interchange::Lowered;
using ktx::interchange::Trim;

uint8_t GenderOf(const std::string& text) {
  const std::string value = Lowered(Trim(text));
  if (value == "m" || value == "male") return kSexMale;
  if (value == "f" || value == "female") return kSexFemale;
  return kSexUnknown;
}

// "Age: 54", "<age>: 56", "Sex: Male", "<sex>: M" are taken; the line goes on to the
// comment when it was neither. MIT-BIH's first comment "69 M 1085 1629 x1" (age, sex,
// then other numbers) is taken and kept.
bool ReadPatientComment(const std::string& comment, bool first, SSourceInfo* source) {
  const size_t colon = comment.find(':');
  if (colon != std::string::npos) {
    std::string key = Lowered(Trim(comment.substr(0, colon)));
    if (key.size() > 2 && key.front() == '<' && key.back() == '>') {
      key = key.substr(1, key.size() - 2);
    }
    const std::string value = Trim(comment.substr(colon + 1));
    int64_t age = 0;
    if (key == "age") {
      if (ktx::interchange::ParseInt(value, &age) && age >= 0 && age < 200) {
        source->Age = static_cast<int16_t>(age);
      }
      return true;
    }
    if (key == "sex" || key == "gender") {
      source->Gender = GenderOf(value);
      return true;
    }
    return false;
  }
  const std::vector<std::string> words = ktx::interchange::Words(comment);
  int64_t age = 0;
  if (first && words.size() >= 2 && ktx::interchange::ParseInt(words[0], &age) && age >= 0 &&
      age < 200 && GenderOf(words[1]) != kSexUnknown) {
    source->Age = static_cast<int16_t>(age);
    source->Gender = GenderOf(words[1]);
  }
  return false;
}

void ReadSourceInfo(const std::string& path, const SWfdbHeader& header, SSourceInfo* source) {
  for (size_t i = 0; i < header.Comments.size(); ++i) {
    const std::string& comment = header.Comments[i];
    if (comment.empty()) continue;
    if (!ReadPatientComment(comment, i == 0, source)) source->Comments.push_back(comment);
  }
  if (header.HasDate) {
    source->Acquired.Year = static_cast<uint16_t>(header.Year);
    source->Acquired.Month = static_cast<uint16_t>(header.Month);
    source->Acquired.Day = static_cast<uint16_t>(header.Day);
  }
  if (header.HasTime) {
    source->TimeKnown = true;
    source->Acquired.Hour = static_cast<uint16_t>(header.Hour);
    source->Acquired.Minute = static_cast<uint16_t>(header.Minute);
    source->Acquired.Second = static_cast<uint16_t>(header.Second);
  }
  // The folder a record lies in is usually its database's name (mitdb/100, ludb/4).
  std::string folder = plat::SplitPath(WfdbHeaderPath(path)).Folder;
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  const std::string database = plat::SplitPath(folder).Name;
  source->RecordName = header.RecordName;
  source->Device = "WFDB " + (database.empty() ? "" : database + "/") + header.RecordName;
}

}  // namespace

bool ImportWfdb(const std::string& path, const SImportOptions& options, SSignalSet* set,
                std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    SWfdbRecord record;
    if (!ReadWfdbRecord(path, &record, why)) return false;
    SSignalSet read;
    read.Rate = record.Header.Rate;
    read.Notes = record.Notes;
    ReadSourceInfo(path, record.Header, &read.Source);
    std::vector<std::string> names;
    for (size_t i = 0; i < record.Header.Signals.size(); ++i) {
      const std::string& description = record.Header.Signals[i].Description;
      names.push_back(description.empty() ? "signal " + std::to_string(i + 1) : description);
    }
    std::vector<size_t> chosen;
    if (!ChooseLeads(options.Leads, names, &chosen, why)) {
      *why = WfdbHeaderPath(path) + ": " + *why;
      return plat::FailWith(plat::kErrInvalidData);
    }
    for (size_t i : chosen) {
      const SWfdbSignalSpec& spec = record.Header.Signals[i];
      const std::string& name = names[i];
      double gain = spec.Gain;
      double baseline = spec.Baseline;
      double perUnit = MicrovoltsPerUnit(spec.Units);
      if (options.Gain > 0) {
        gain = options.Gain;
        baseline = 0;
        perUnit = 1000;
      } else if (perUnit == 0) {
        if (!options.Leads.empty()) {
          *why = WfdbHeaderPath(path) + ": " + name + " is in '" + spec.Units + "', not a voltage";
          return plat::FailWith(plat::kErrInvalidData);
        }
        read.Notes.push_back("left out " + name + ": its units '" + spec.Units +
                             "' are not a voltage");
        continue;
      } else if (!spec.Calibrated) {
        read.Notes.push_back(name + " is uncalibrated: taken as 200 ADC units per " + spec.Units);
      }
      SSignal signal;
      signal.Name = name;
      signal.LeadCode = LeadCodeFromName(name);
      signal.StepNv = 1000.0 * perUnit / gain;
      const int32_t invalid = WfdbInvalidSample(spec.Format);
      signal.Microvolts.reserve(record.Samples[i].size());
      for (int32_t value : record.Samples[i]) {
        signal.Microvolts.push_back(value == invalid ? std::numeric_limits<double>::quiet_NaN()
                                                     : (value - baseline) / gain * perUnit);
      }
      read.Signals.push_back(std::move(signal));
    }
    if (read.Signals.empty()) {
      *why = WfdbHeaderPath(path) + ": no signal is a voltage";
      return plat::FailWith(plat::kErrInvalidData);
    }
    *set = std::move(read);
    return true;
  });
}
