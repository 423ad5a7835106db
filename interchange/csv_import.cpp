#include "interchange/csv_import.h"

#include "interchange/file_bytes.h"
#include "interchange/lead_names.h"
#include "interchange/text_fields.h"
#include "platform/errors.h"
#include "platform/path.h"

namespace {

using ktx::interchange::Trim;

bool Fail(std::string* why, const std::string& message) {
  *why = message;
  return plat::FailWith(plat::kErrInvalidData);
}

std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    const size_t end = line.find(separator, start);
    fields.push_back(Trim(line.substr(start, end == std::string::npos ? end : end - start)));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

std::string Unquoted(const std::string& field) {
  if (field.size() >= 2 && (field.front() == '"' || field.front() == '\'') &&
      field.back() == field.front()) {
    return Trim(field.substr(1, field.size() - 2));
  }
  return field;
}

bool IsTimeColumn(const std::string& name) {
  const std::string lowered = ktx::interchange::Lowered(name);
  for (const char* word : {"time", "t", "sample", "samples", "index", "time (s)", "time [s]"}) {
    if (lowered == word) return true;
  }
  return false;
}

char SeparatorOf(const std::string& header) {
  if (header.find(',') != std::string::npos) return ',';
  if (header.find(';') != std::string::npos) return ';';
  return '\t';
}

}  // namespace

bool ParseCsvSignals(const std::string& text, const SImportOptions& options, SSignalSet* set,
                     std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    if (!(options.Rate > 0)) return Fail(why, "a CSV file needs its sampling rate (--rate)");
    std::vector<std::string> lines =
        ktx::interchange::Lines(text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text);
    size_t row = 0;
    while (row < lines.size() && Trim(lines[row]).empty()) ++row;
    if (row == lines.size()) return Fail(why, "the file is empty");
    const char separator = SeparatorOf(lines[row]);
    std::vector<std::string> names = Fields(lines[row], separator);
    SSignalSet read;
    read.Rate = options.Rate;
    const size_t columns = names.size();
    const size_t first = IsTimeColumn(Unquoted(names[0])) && columns > 1 ? 1 : 0;
    if (first == 1) {
      read.Notes.push_back("left out the first column '" + Unquoted(names[0]) +
                           "': the rate is --rate's");
    }
    for (size_t c = first; c < columns; ++c) {
      SSignal signal;
      signal.Name = Unquoted(names[c]);
      if (signal.Name.empty()) signal.Name = "column " + std::to_string(c + 1);
      signal.LeadCode = LeadCodeFromName(signal.Name);
      read.Signals.push_back(std::move(signal));
    }
    for (++row; row < lines.size(); ++row) {
      if (Trim(lines[row]).empty()) continue;
      const std::vector<std::string> fields = Fields(lines[row], separator);
      if (fields.size() != columns) {
        return Fail(why, "row " + std::to_string(row + 1) + " has " +
                             std::to_string(fields.size()) + " fields, the header " +
                             std::to_string(columns));
      }
      for (size_t c = first; c < columns; ++c) {
        double value = 0;
        if (!ktx::interchange::ParseDouble(fields[c], &value)) {
          return Fail(why, "row " + std::to_string(row + 1) + ", column " + std::to_string(c + 1) +
                               ": '" + fields[c] + "' is not a number");
        }
        read.Signals[c - first].Microvolts.push_back(value * options.MicrovoltsPerUnit);
      }
    }
    if (read.SampleCount() == 0) return Fail(why, "the file has a header row and no samples");
    std::vector<std::string> leadNames;
    for (const SSignal& signal : read.Signals) leadNames.push_back(signal.Name);
    std::vector<size_t> chosen;
    if (!ChooseLeads(options.Leads, leadNames, &chosen, why)) return Fail(why, *why);
    std::vector<SSignal> signals;
    signals.reserve(chosen.size());
    for (size_t i : chosen) signals.push_back(read.Signals[i]);
    read.Signals = std::move(signals);
    *set = std::move(read);
    return true;
  });
}

bool ImportCsv(const std::string& path, const SImportOptions& options, SSignalSet* set,
               std::string* why) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes)) {
    *why = path + ": cannot be read";
    return false;
  }
  if (!ParseCsvSignals(std::string(bytes.begin(), bytes.end()), options, set, why)) {
    *why = path + ": " + *why;
    return false;
  }
  set->Source.RecordName = plat::SplitPath(path).Name;
  set->Source.Device = "CSV " + set->Source.RecordName;
  return true;
}
