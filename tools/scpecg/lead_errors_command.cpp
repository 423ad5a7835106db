// scpecg lead-errors: rebuilds the lead error table of Section 1 from the error
// markers in the rhythm data.
#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "failure_place.h"
#include "file_rewrite.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "record/lead_labels.h"
#include "writer/writer.h"

namespace scpecg {

namespace {

int RunLeadErrors(const std::string& file, bool inPlace) {
  CWriter writer;
  FileRewrite rewrite(file, inPlace);
  if (!rewrite.Begin() || !SelectToolWriter(writer) ||
      !writer.UpdateLeadErrors(rewrite.Target().c_str()) || !rewrite.Commit()) {
    const uint32_t error = plat::LastError();
    std::cerr << file << ": " << ErrorText(error) << FailurePlace(file, error) << rewrite.Note()
              << "\n";
    return kExitFailed;
  }
  SLeadErrors errors;
  if (!CReader::ReadLeadErrors(file.c_str(), &errors)) {
    std::cerr << file << ": written, but " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  std::cout << file << ": lead errors rebuilt, " << unsigned{errors.Count} << " entries\n";
  for (unsigned i = 0; i < errors.Count; ++i) {
    const SLeadError entry = errors.Errors[i];
    if (entry.ErrorBits == 0) continue;
    char bits[8];
    std::snprintf(bits, sizeof(bits), "0x%04X", unsigned{entry.ErrorBits});
    std::cout << "  " << LeadLabel(entry.LeadId) << ": bits " << bits << "\n";
  }
  return kExitOk;
}

}  // namespace

void AddLeadErrorsCommand(CLI::App& app, int& status) {
  auto file = std::make_shared<std::string>();
  auto inPlace = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "lead-errors", "Rebuild the lead error table from the markers in the rhythm data");
  command->add_option("file", *file, "SCP-ECG file to update")->required();
  AddInPlaceFlag(*command, *inPlace);
  command->callback([file, inPlace, &status] { status = RunLeadErrors(*file, *inPlace); });
}

}  // namespace scpecg
