// scpecg convert: a compressed record rewritten uncompressed, for everything that
// reads samples as stored (the analysis among them).
#include <iostream>

#include "commands.h"
#include "decoder/decoded_copy.h"
#include "platform/errors.h"

namespace scpecg {

namespace {

struct ConvertOptions {
  std::string File;
  std::string Output;
};

int RunConvert(const ConvertOptions& options) {
  SDecodedWaveforms decoded;
  if (!DecodeWaveformFile(options.File.c_str(), &decoded)) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  CDecodedCopyWriter writer;
  if (!SelectToolWriter(writer) ||
      !writer.WriteDecodedCopy(options.File.c_str(), options.Output.c_str())) {
    std::cerr << options.Output << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  std::cout << options.Output << ": decoded " << DescribeEncoding(decoded) << ", "
            << decoded.LeadDefs.size() << (decoded.LeadDefs.size() == 1 ? " lead" : " leads")
            << ", written uncompressed\n";
  return kExitOk;
}

}  // namespace

void AddConvertCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* command = app.add_subcommand(
      "convert", "Decode compressed waveforms and write the record uncompressed");
  command->add_option("file", options->File, "SCP-ECG file")->required();
  command->add_option("-o,--output", options->Output, "SCP-ECG file to write")->required();
  command->callback([options, &status] { status = RunConvert(*options); });
}

}  // namespace scpecg
