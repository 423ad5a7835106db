// The scpecg commands: each registers its options on the application and runs.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

class CWriter;

namespace scpecg {

// Exit statuses: 0 success, 1 a failed operation, 2 bad usage.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Each Add* function adds its subcommand; the callback stores the exit status.
void AddCheckCommand(CLI::App& app, int& status);
void AddSectionsCommand(CLI::App& app, int& status);
void AddShowCommand(CLI::App& app, int& status);
void AddExportCommand(CLI::App& app, int& status);
void AddRepairCommand(CLI::App& app, int& status);
void AddCreateCommand(CLI::App& app, int& status);
void AddAcquisitionCommand(CLI::App& app, int& status);
void AddPlotCommand(CLI::App& app, int& status);
void AddEditCommand(CLI::App& app, int& status);
void AddDeriveCommand(CLI::App& app, int& status);
void AddLeadErrorsCommand(CLI::App& app, int& status);
void AddAnalyzeCommand(CLI::App& app, int& status);
void AddStatementsCommand(CLI::App& app, int& status);
void AddConvertCommand(CLI::App& app, int& status);
void AddImportCommand(CLI::App& app, int& status);

// Stamps `writer` with scpecg's own name and version, the writer application of the
// files it creates and edits.
bool SelectToolWriter(CWriter& writer);

// Writes OUT as an uncompressed copy of FILE and says so (scpecg convert); an exit status.
int ConvertRecord(const std::string& file, const std::string& output, bool inPlace);

// "error CODE MESSAGE" for the calling thread's last-error code.
std::string ErrorText(uint32_t code);

}  // namespace scpecg
