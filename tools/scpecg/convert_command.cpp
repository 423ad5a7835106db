// scpecg convert: a compressed record rewritten uncompressed, for everything that
// reads samples as stored (the analysis among them).
#include <iostream>

#include "commands.h"
#include "file_rewrite.h"
#include "platform/errors.h"
#include "writer/decoded_copy.h"

namespace scpecg {

namespace {

struct ConvertOptions {
  std::string File;
  std::string Output;
  bool InPlace = false;
};

// "Sections 1 and 7" for the bits of `sections`.
std::string SectionList(uint32_t sections) {
  std::string text;
  int left = __builtin_popcount(sections);
  for (unsigned id = 0; id < 32; ++id) {
    if (!(sections & (1u << id))) continue;
    text += (text.empty() ? "" : left == 1 ? " and " : ", ") + std::to_string(id);
    --left;
  }
  return (__builtin_popcount(sections) == 1 ? "Section " : "Sections ") + text;
}

int RunConvert(const ConvertOptions& options) {
  return ConvertRecord(options.File, options.Output, options.InPlace);
}

}  // namespace

int ConvertRecord(const std::string& file, const std::string& output, bool inPlace) {
  SDecodedWaveforms decoded;
  if (!DecodeWaveformFile(file.c_str(), &decoded)) {
    std::cerr << file << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  CDecodedCopyWriter writer;
  // OUT may be FILE itself: the copy is read whole before OUT is replaced.
  FileRewrite rewrite(output, inPlace, FileRewrite::Kind::Create);
  if (!SelectToolWriter(writer) || !rewrite.Begin() ||
      !writer.WriteDecodedCopy(file.c_str(), rewrite.Target().c_str()) || !rewrite.Commit()) {
    std::cerr << output << ": " << ErrorText(plat::LastError()) << rewrite.Note() << "\n";
    return kExitFailed;
  }
  std::cout << output << ": decoded " << DescribeEncoding(decoded) << ", "
            << decoded.LeadDefs.size() << (decoded.LeadDefs.size() == 1 ? " lead" : " leads")
            << ", written uncompressed\n";
  if (writer.RepairedCrcs != 0) {
    std::cout << output << ": note: the CRC of " << SectionList(writer.RepairedCrcs) << " of "
              << file << " was wrong; the copy carries a recomputed one\n";
  }
  return kExitOk;
}

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
