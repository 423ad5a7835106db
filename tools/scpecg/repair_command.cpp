// scpecg repair-crc: recomputes every CRC of each file, saying what it found and left.
#include <iostream>
#include <nlohmann/json.hpp>
#include <vector>

#include "commands.h"
#include "file_rewrite.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "writer/writer.h"

namespace scpecg {

namespace {

struct RepairOptions {
  std::vector<std::string> Files;
  bool Json = false;
  bool InPlace = false;
};

const char* Verdict(bool reached, bool valid) {
  return !reached ? "unknown" : valid ? "valid" : "invalid";
}

int RunRepair(const RepairOptions& options) {
  nlohmann::ordered_json results = nlohmann::ordered_json::array();
  bool allRepaired = true;
  for (const std::string& file : options.Files) {
    bool before = false;
    const bool checkedBefore = CReader::CheckCrc(file.c_str(), &before);
    CWriter writer;
    FileRewrite rewrite(file, options.InPlace);
    const bool repaired =
        rewrite.Begin() && writer.UpdateCRC(rewrite.Target().c_str()) && rewrite.Commit();
    const uint32_t error = repaired ? 0 : plat::LastError();
    const bool leftAsItWas = !repaired && rewrite.LeftAsItWas();
    bool after = false;
    const bool checkedAfter = repaired && CReader::CheckCrc(file.c_str(), &after);
    allRepaired = allRepaired && repaired && after;
    if (options.Json) {
      results.push_back({{"file", file},
                         {"before", Verdict(checkedBefore, before)},
                         {"after", repaired ? Verdict(checkedAfter, after) : nullptr},
                         {"error", error}});
      if (!repaired) results.back()["left_as_it_was"] = leftAsItWas;
    } else if (repaired) {
      std::cout << file << ": " << Verdict(checkedBefore, before) << " -> "
                << Verdict(checkedAfter, after) << "\n";
    } else {
      std::cout << file << ": " << ErrorText(error) << rewrite.Note() << "\n";
    }
  }
  if (options.Json) std::cout << results.dump(2) << "\n";
  return allRepaired ? kExitOk : kExitFailed;
}

}  // namespace

void AddRepairCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<RepairOptions>();
  CLI::App* command = app.add_subcommand(
      "repair-crc", "Recompute every section CRC and the record CRC, keeping the sections");
  command->add_option("files", options->Files, "SCP-ECG files to repair")->required();
  command->add_flag("--json", options->Json, "Print the results as JSON");
  AddInPlaceFlag(*command, options->InPlace);
  command->callback([options, &status] { status = RunRepair(*options); });
}

}  // namespace scpecg
