// scpecg check: the CRC verdict of each file.
#include <iostream>
#include <nlohmann/json.hpp>
#include <vector>

#include "commands.h"
#include "platform/errors.h"
#include "reader/reader.h"

namespace scpecg {

namespace {

struct CheckOptions {
  std::vector<std::string> Files;
  bool Json = false;
};

int RunCheck(const CheckOptions& options) {
  nlohmann::ordered_json results = nlohmann::ordered_json::array();
  bool allValid = true;
  for (const std::string& file : options.Files) {
    bool valid = false;
    const bool reached = CReader::CheckCrc(file.c_str(), &valid);
    const uint32_t error = reached ? 0 : plat::LastError();
    allValid = allValid && reached && valid;
    if (options.Json) {
      nlohmann::ordered_json verdict = nullptr;
      if (reached) verdict = valid ? "valid" : "invalid";
      results.push_back({{"file", file}, {"verdict", verdict}, {"error", error}});
    } else if (reached) {
      std::cout << file << (valid ? ": valid" : ": invalid") << "\n";
    } else {
      std::cout << file << ": " << ErrorText(error) << "\n";
    }
  }
  if (options.Json) std::cout << results.dump(2) << "\n";
  return allValid ? kExitOk : kExitFailed;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* command = app.add_subcommand(
      "check", "Verify the record CRC and the CRCs of Sections 0, 1, 3, 5, 6, 7, 9 and 10");
  command->add_option("files", options->Files, "SCP-ECG files")->required();
  command->add_flag("--json", options->Json, "Print the verdicts as JSON");
  command->callback([options, &status] { status = RunCheck(*options); });
}

}  // namespace scpecg
