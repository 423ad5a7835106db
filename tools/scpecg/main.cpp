// scpecg: the library's capabilities from the shell.
#include <iostream>

#include "commands.h"
#include "platform/errors.h"
#include "platform/file.h"

namespace scpecg {

std::string ErrorText(uint32_t code) {
  return "error " + std::to_string(code) + " " + plat::ErrorMessage(code);
}

}  // namespace scpecg

namespace {

int Run(int argc, char** argv) {
  CLI::App app{"scpecg: check, inspect and edit SCP-ECG records", "scpecg"};
  app.require_subcommand(1);
  int status = scpecg::kExitOk;
  scpecg::AddCheckCommand(app, status);
  scpecg::AddSectionsCommand(app, status);
  scpecg::AddShowCommand(app, status);
  scpecg::AddExportCommand(app, status);
  scpecg::AddCreateCommand(app, status);
  scpecg::AddImportCommand(app, status);
  scpecg::AddEditCommand(app, status);
  scpecg::AddDeriveCommand(app, status);
  scpecg::AddLeadErrorsCommand(app, status);
  scpecg::AddAnalyzeCommand(app, status);
  scpecg::AddConvertCommand(app, status);
  scpecg::AddRepairCommand(app, status);
  scpecg::AddAcquisitionCommand(app, status);
  scpecg::AddPlotCommand(app, status);
  scpecg::AddStatementsCommand(app, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return scpecg::kExitUsage;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A write past `ulimit -f` is reported (223) rather than ending scpecg part way.
  plat::ReportFileSizeLimitAsError();
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "scpecg: " << e.what() << "\n";
    return scpecg::kExitFailed;
  } catch (...) {
    return scpecg::kExitFailed;
  }
}
