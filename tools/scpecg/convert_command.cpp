// scpecg convert: a compressed record rewritten uncompressed, for everything that
// reads samples as stored (the analysis among them).
#include <iostream>

#include "commands.h"
#include "decoder/decoded_copy.h"
#include "file_rewrite.h"
#include "platform/errors.h"

namespace scpecg {

namespace {

struct ConvertOptions {
  std::string File;
  std::string Output;
  bool InPlace = false;
};

int RunConvert(const ConvertOptions& options) {
  SDecodedWaveforms decoded;
  if (!DecodeWaveformFile(options.File.c_str(), &decoded)) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  CDecodedCopyWriter writer;
  // OUT may be FILE itself: the copy is read whole before OUT is replaced.
  FileRewrite rewrite(options.Output, options.InPlace, FileRewrite::Kind::Create);
  if (!SelectToolWriter(writer) || !rewrite.Begin() ||
      !writer.WriteDecodedCopy(options.File.c_str(), rewrite.Target().c_str()) ||
      !rewrite.Commit()) {
    std::cerr << options.Output << ": " << ErrorText(plat::LastError()) << rewrite.Note() << "\n";
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
  AddInPlaceFlag(*command, options->InPlace);
  command->callback([options, &status] { status = RunConvert(*options); });
}

}  // namespace scpecg
