// scpecg sections: the record header and every Section 0 entry with its own checks.
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "commands.h"
#include "format/section_header.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "reader/stretch_crc.h"

namespace scpecg {

namespace {

struct SectionsOptions {
  std::string File;
  bool Json = false;
};

struct EntryReport {
  SSectionIndex Entry;
  bool Present;
  std::optional<uint16_t> HeaderId;
  std::optional<bool> CrcOk;
};

// Reads the section's own header and checks its CRC; either stays empty when the
// bytes cannot be read.
void Inspect(plat::FileHandle file, EntryReport& report) {
  uint8_t header[CReader::kSectionHeaderSize];
  const SSectionIndex& entry = report.Entry;
  if (CReader::MoveTo(file, entry.Index - 1) && CReader::ReadSectionHeader(file, header)) {
    report.HeaderId = ParseSectionHeader(header).Id;
  }
  bool valid = false;
  if (CheckStretchCrc(file, static_cast<int64_t>(entry.Index) - 1, entry.Length, &valid)) {
    report.CrcOk = valid;
  }
}

template <typename T>
nlohmann::ordered_json OrNull(const std::optional<T>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

template <typename T>
std::string OrDash(const std::optional<T>& value) {
  if (!value) return "-";
  if constexpr (std::is_same_v<T, bool>) return *value ? "ok" : "wrong";
  return std::to_string(*value);
}

void PrintText(const std::string& file, uint32_t recordLength, uint64_t fileSize,
               std::optional<bool> recordCrc, const std::vector<EntryReport>& reports) {
  std::cout << file << ": record length " << recordLength << ", file size " << fileSize
            << ", record CRC " << OrDash(recordCrc) << "\n";
  std::cout << "  entry     id     length      index  present  header  crc\n";
  for (size_t i = 0; i < reports.size(); ++i) {
    const EntryReport& r = reports[i];
    std::cout << "  " << std::setw(5) << i << std::setw(7) << r.Entry.Id << std::setw(11)
              << r.Entry.Length << std::setw(11) << r.Entry.Index << std::setw(9)
              << (r.Present ? "yes" : "no") << std::setw(8) << OrDash(r.HeaderId) << std::setw(7)
              << OrDash(r.CrcOk) << "\n";
  }
}

void PrintJson(uint32_t recordLength, uint64_t fileSize, std::optional<bool> recordCrc,
               const std::vector<EntryReport>& reports) {
  nlohmann::ordered_json sections = nlohmann::ordered_json::array();
  for (const EntryReport& r : reports) {
    sections.push_back({{"id", +r.Entry.Id},
                        {"length", +r.Entry.Length},
                        {"index", +r.Entry.Index},
                        {"present", r.Present},
                        {"header_id", OrNull(r.HeaderId)},
                        {"crc_ok", OrNull(r.CrcOk)}});
  }
  const nlohmann::ordered_json out = {{"record_length", recordLength},
                                      {"file_size", fileSize},
                                      {"record_crc_ok", OrNull(recordCrc)},
                                      {"sections", sections}};
  std::cout << out.dump(2) << "\n";
}

int RunSections(const SectionsOptions& options) {
  CReader reader;
  if (!reader.OpenIndexed(options.File.c_str())) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  const uint32_t recordLength = CReader::ReadU32(reader.RecordHeader + 2);
  uint64_t fileSize = 0;
  plat::FileSize(reader.File, &fileSize);
  std::optional<bool> recordCrc;
  bool valid = false;
  if (CheckStretchCrc(reader.File, 0, recordLength, &valid)) recordCrc = valid;

  std::vector<EntryReport> reports;
  for (uint32_t i = 0; i < reader.Index.Count; ++i) {
    EntryReport report{*reader.Index.Entry(i), false, std::nullopt, std::nullopt};
    report.Present = report.Entry.Length != 0 && report.Entry.Index != 0;
    if (report.Present) Inspect(reader.File, report);
    reports.push_back(report);
  }
  if (options.Json) {
    PrintJson(recordLength, fileSize, recordCrc, reports);
  } else {
    PrintText(options.File, recordLength, fileSize, recordCrc, reports);
  }
  return kExitOk;
}

}  // namespace

void AddSectionsCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<SectionsOptions>();
  CLI::App* command =
      app.add_subcommand("sections", "List the Section 0 pointer table and check each section");
  command->add_option("file", options->File, "SCP-ECG file")->required();
  command->add_flag("--json", options->Json, "Print as JSON");
  command->callback([options, &status] { status = RunSections(*options); });
}

}  // namespace scpecg
