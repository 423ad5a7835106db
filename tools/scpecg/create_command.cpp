// scpecg create: new SCP-ECG files.
#include <iostream>

#include "commands.h"
#include "platform/errors.h"
#include "writer/writer.h"

namespace scpecg {

namespace {

struct CreateOptions {
  std::string File;
  bool Empty = false;
};

int RunCreate(const CreateOptions& options) {
  CWriter writer;
  if (!options.Empty) {
    std::cerr << "scpecg create: say what to create from (--empty)\n";
    return kExitUsage;
  }
  if (!writer.CreateEmpty(options.File.c_str())) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  std::cout << options.File << ": created\n";
  return kExitOk;
}

}  // namespace

void AddCreateCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<CreateOptions>();
  CLI::App* command = app.add_subcommand("create", "Create an SCP-ECG file");
  command->add_option("file", options->File, "SCP-ECG file to create")->required();
  command->add_flag("--empty", options->Empty, "An empty record: Section 0 alone (142 bytes)");
  command->callback([options, &status] { status = RunCreate(*options); });
}

}  // namespace scpecg
