// scpecg statements: the statement catalogue of the analysis, with each criterion and
// its text in one of the seven languages.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "commands.h"
#include "engine/statements/catalogue.h"

namespace scpecg {

namespace {

const char* GroupName(ktx::engine::StatementGroup group) {
  switch (group) {
    case ktx::engine::StatementGroup::kRhythm:
      return "rhythm";
    case ktx::engine::StatementGroup::kMorphology:
      return "morphology";
    case ktx::engine::StatementGroup::kDriver:
      break;
  }
  return "driver";
}

int RunStatements(const std::string& languageName, bool json) {
  const int language = ktx::engine::LanguageFromName(languageName.c_str());
  if (language < 0) {
    std::cerr << "unknown language '" << languageName << "': en fr de it es pt ja or 0-6\n";
    return kExitUsage;
  }
  nlohmann::json list = nlohmann::json::array();
  for (size_t i = 0; i < ktx::engine::kStatementCatalogueSize; ++i) {
    const ktx::engine::StatementEntry& entry = ktx::engine::kStatementCatalogue[i];
    const bool driver = entry.Group == ktx::engine::StatementGroup::kDriver;
    const unsigned stringId = driver ? entry.Code : 1000u + entry.Code;
    if (json) {
      list.push_back({{"code", driver ? nlohmann::json() : nlohmann::json(entry.Code)},
                      {"string_id", stringId},
                      {"group", GroupName(entry.Group)},
                      {"mnemonic", entry.Mnemonic},
                      {"criterion", entry.Criterion},
                      {"text", entry.Text[language]}});
      continue;
    }
    std::cout << (driver ? std::to_string(stringId) : std::to_string(entry.Code)) << "\t"
              << GroupName(entry.Group) << "\t" << entry.Mnemonic << "\t" << entry.Text[language]
              << "\n\t" << entry.Criterion << "\n";
  }
  if (json) std::cout << list.dump(2) << "\n";
  return kExitOk;
}

}  // namespace

void AddStatementsCommand(CLI::App& app, int& status) {
  auto language = std::make_shared<std::string>("en");
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "statements", "List the analysis statements: code, mnemonic, criterion and text");
  command->add_option("--language", *language, "en, fr, de, it, es, pt, ja or 0-6 (default en)");
  command->add_flag("--json", *json, "Print as JSON");
  command->callback([language, json, &status] { status = RunStatements(*language, *json); });
}

}  // namespace scpecg
