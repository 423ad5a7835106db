// scpecg derive: completes a recording with the limb leads III, aVR, aVL and aVF
// computed from I and II.
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

int RunDerive(const std::string& file, bool inPlace) {
  // The update reads the leads itself and says why when it cannot; this is for the report.
  SLeadDefinitions before;
  CReader::ReadLeadDefinitions(file.c_str(), &before);
  CWriter writer;
  FileRewrite rewrite(file, inPlace);
  if (!rewrite.Begin() || !SelectToolWriter(writer) ||
      !writer.UpdateCalculatedLeads(rewrite.Target().c_str()) || !rewrite.Commit()) {
    const uint32_t error = plat::LastError();
    std::cerr << file << ": " << ErrorText(error) << FailurePlace(file, error) << rewrite.Note()
              << "\n";
    return kExitFailed;
  }
  SLeadDefinitions after;
  if (!CReader::ReadLeadDefinitions(file.c_str(), &after)) {
    std::cerr << file << ": written, but " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  std::string added;
  for (unsigned i = before.Count; i < after.Count; ++i) {
    added += (added.empty() ? "" : ", ") + LeadLabel(after.Leads[i].LeadId);
  }
  std::cout << file << ": " << unsigned{before.Count} << " -> " << unsigned{after.Count} << " leads"
            << (added.empty() ? ", nothing to derive" : ", derived " + added)
            << "; lead errors rebuilt\n";
  return kExitOk;
}

}  // namespace

void AddDeriveCommand(CLI::App& app, int& status) {
  auto file = std::make_shared<std::string>();
  auto inPlace = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "derive", "Add the limb leads III, aVR, aVL and aVF computed from I and II");
  command->add_option("file", *file, "SCP-ECG file to complete")->required();
  AddInPlaceFlag(*command, *inPlace);
  command->callback([file, inPlace, &status] { status = RunDerive(*file, *inPlace); });
}

}  // namespace scpecg
