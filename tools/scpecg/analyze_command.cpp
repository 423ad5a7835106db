// scpecg analyze: runs the analysis engine on a record and stores its results;
// scpecg remove-analysis: drops them again.
#include <iostream>
#include <map>
#include <string>

#include "analysis/analysis.h"
#include "commands.h"
#include "file_rewrite.h"
#include "format/waveform_decoder.h"
#include "platform/errors.h"
#include "platform/module.h"
#include "reader/reader.h"
#include "record_json.h"
#include "statement_texts.h"

namespace scpecg {

namespace {

struct AnalyzeOptions {
  std::string File;
  std::string Language = "en";
  bool Short = false;
  bool Text = false;
  bool PatientWarning = false;
  bool ShortPrefix = false;
  bool Json = false;
  bool InPlace = false;
  std::string Convert;  // the uncompressed copy to write and analyse instead of File
};

const std::map<std::string, int32_t> kLanguages = {
    {"en", 0}, {"fr", 1}, {"de", 2}, {"it", 3}, {"es", 4}, {"pt", 5}, {"ja", 6},
    {"0", 0},  {"1", 1},  {"2", 2},  {"3", 3},  {"4", 4},  {"5", 5},  {"6", 6},
};

// The statement texts of the codes, from the language module as the driver reads
// them (prefix dropped); a code without a text gets none.
Json CodeTexts(const uint16_t* codes, unsigned count, int32_t language, bool shortPrefix) {
  Json list = Json::array();
  for (const StatementText& statement : StatementTexts(codes, count, language, shortPrefix)) {
    Json item{{"code", statement.Code}};
    if (!statement.Text.empty()) item["text"] = statement.Text;
    list.push_back(item);
  }
  return list;
}

Json Results(const AnalyzeOptions& options, int32_t language) {
  CReader reader;
  uint16_t loaded = 0;
  Json out = Json::object();
  if (!reader.Load(options.File.c_str(), &loaded, kAllSections)) {
    out["error"] = plat::LastError();
    return out;
  }
  if (loaded & kSection7) {
    out["global_measurements"] = AnalysisJson(reader.Analysis, true, false)["global_measurements"];
  }
  if (loaded & kSection9) {
    const CAnalysisInfo& a = reader.Analysis;
    out["rhythm_statements"] =
        CodeTexts(a.RhythmCode, std::min<unsigned>(a.RhythmCodes, CAnalysisInfo::kMaxRhythmCodes),
                  language, options.ShortPrefix);
    out["morphology_statements"] = CodeTexts(
        a.MorphologyCode, std::min<unsigned>(a.MorphologyCodes, CAnalysisInfo::kMaxMorphologyCodes),
        language, options.ShortPrefix);
  }
  if (loaded & kSection1) out["interpretation"] = Utf8(reader.General.InterpretationText);
  if (loaded & kSection10) out["lead_measurements"] = LeadMeasurementsJson(reader.LeadMeasurements);
  return out;
}

// What the analysis left in the copy is put in place when it changed the record and the
// copy is a whole record: as complete as the file was (a record whose CRCs were wrong
// before keeps its wrong sections), never one that a failed write left torn.
bool CopyIsComplete(const std::string& copy, bool fileValid) {
  bool valid = false;
  return CReader::CheckCrc(copy.c_str(), &valid) && (valid || !fileValid);
}

// What makes FILE's samples unreadable as stored ("huffman default, second differences"),
// or "" when they are plain or the record does not decode (the analysis then says why).
std::string Compression(const std::string& file) {
  plat::KeepLastError keep;
  SDecodedWaveforms decoded;
  if (!DecodeWaveformFile(file.c_str(), &decoded)) return std::string();
  const bool coded = decoded.HuffmanTables != 0 && !decoded.Plain16Table;
  const bool plain = !coded && !decoded.Subtracted && decoded.Rhythm.Bimodal == 0 &&
                     decoded.Rhythm.Difference == 0 && decoded.Median.Difference == 0;
  return plain ? std::string() : DescribeEncoding(decoded);
}

int RunAnalyze(const AnalyzeOptions& options);

// The analysis reads samples as stored: a compressed record is analysed through an
// uncompressed copy, never behind the user's back.
int RunAnalyzeCompressed(const AnalyzeOptions& options) {
  if (!options.Convert.empty()) {
    if (ConvertRecord(options.File, options.Convert, false) != kExitOk) return kExitFailed;
    std::cout << options.File << ": left as it is; analysing " << options.Convert << "\n";
    AnalyzeOptions copy = options;
    copy.File = options.Convert;
    copy.Convert.clear();
    return RunAnalyze(copy);
  }
  const std::string compression = Compression(options.File);
  if (compression.empty()) return RunAnalyze(options);
  std::cerr << options.File << ": its samples are stored compressed (" << compression
            << "), which the analysis does not read; --convert OUT writes an uncompressed "
               "copy and analyses that, leaving the file as it is\n";
  return kExitFailed;
}

int RunAnalyze(const AnalyzeOptions& options) {
  const int32_t language = kLanguages.at(options.Language);
  CAnalysis analysis;
  FileRewrite rewrite(options.File, options.InPlace);
  if (!SelectToolWriter(analysis) || !rewrite.Begin()) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << rewrite.Note() << "\n";
    return kExitFailed;
  }
  bool fileValid = false;
  CReader::CheckCrc(options.File.c_str(), &fileValid);
  analysis.GenerateAnalysisText = options.Text;
  analysis.GeneratePatientWarningText = options.PatientWarning;
  analysis.ShortStatementPrefix = options.ShortPrefix;
  const int16_t result = analysis.CreateAnalysis(rewrite.Target().c_str(), language, options.Short);
  uint32_t error = plat::LastError();
  // The driver reports a record it could not rewrite like one that is no record (-1);
  // the error the file system left tells the two apart, and says why the engine (2-5)
  // or the driver could not read or write a file.
  const bool fileResult = result >= ResultNotFileOpen && result <= ResultNotFileSeek;
  const bool refused = (result < 0 || fileResult) && plat::IsFileSystemError(error);
  // A rewrite the file system refused, or an engine that could not use its files, leaves
  // the file as it was, whatever steps before did to the copy; other outcomes are kept
  // as the library leaves them in place.
  const bool writeRefused = (refused && result != ResultNotText) || fileResult;
  bool replaced = true;
  if (!rewrite.InPlace() && rewrite.TargetChanged() && !writeRefused &&
      CopyIsComplete(rewrite.Target(), fileValid)) {
    replaced = rewrite.Commit();
    if (!replaced) error = plat::LastError();
  }
  const char* name = AnalysisResultName(result);
  const char* text = AnalysisResultText(result);
  const std::string nameText = name != nullptr ? name : "UnknownResult";
  std::string textText = text != nullptr ? text : "unknown result";
  if (!replaced) {
    textText = "analysed copy not put in place";
  } else if (refused && result == ResultNotFileValid) {
    textText = error == plat::kErrFileNotFound || error == plat::kErrPathNotFound
                   ? "could not open the file"
                   : "could not rewrite the file";
  }
  const bool succeeded = result == ResultIsSuccess && replaced;
  if (options.Json) {
    Json out{{"file", options.File}, {"result", result}, {"name", nameText}, {"text", textText}};
    if (refused || !replaced) out["error"] = {{"code", error}, {"text", plat::ErrorMessage(error)}};
    if (!succeeded) out["left_as_it_was"] = rewrite.LeftAsItWas();
    if (succeeded) out["analysis"] = Results(options, language);
    std::cout << out.dump(2) << "\n";
  } else {
    std::cout << options.File << ": " << result << " " << nameText << " " << textText;
    if (refused || !replaced) std::cout << ": " << ErrorText(error);
    if (!succeeded) std::cout << rewrite.Note();
    std::cout << "\n";
  }
  return succeeded ? kExitOk : kExitFailed;
}

int RunRemove(const std::string& file, bool inPlace) {
  CAnalysis analysis;
  FileRewrite rewrite(file, inPlace);
  if (!rewrite.Begin() || !SelectToolWriter(analysis) ||
      !analysis.RemoveAnalysisData(rewrite.Target().c_str()) || !rewrite.Commit()) {
    std::cerr << file << ": " << ErrorText(plat::LastError()) << rewrite.Note() << "\n";
    return kExitFailed;
  }
  std::cout << file << ": analysis sections removed\n";
  return kExitOk;
}

}  // namespace

void AddAnalyzeCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<AnalyzeOptions>();
  CLI::App* command = app.add_subcommand(
      "analyze", "Run the analysis engine on a record and store its results in it");
  command->add_option("file", options->File, "SCP-ECG file to analyse")->required();
  AddInPlaceFlag(*command, options->InPlace);
  std::vector<std::string> names;
  names.reserve(kLanguages.size());
  for (const auto& entry : kLanguages) names.push_back(entry.first);
  command->add_option("--language", options->Language, "Language of the statements")
      ->check(CLI::IsMember(names));
  command->add_flag("--short", options->Short, "Run the short analysis");
  command->add_flag("--text", options->Text, "Write the interpretation text");
  command->add_flag("--patient-warning", options->PatientWarning,
                    "Add a warning when the patient's demographic data are incomplete");
  command->add_flag("--short-prefix", options->ShortPrefix,
                    "The statement strings carry a 3-character prefix instead of 7");
  command->add_flag("--json", options->Json, "Print the result and what the file then holds");
  command->add_option("--convert", options->Convert,
                      "Decode FILE into this uncompressed record and analyse it instead");
  command->callback([options, &status] { status = RunAnalyzeCompressed(*options); });

  auto file = std::make_shared<std::string>();
  auto inPlace = std::make_shared<bool>(false);
  CLI::App* remove = app.add_subcommand(
      "remove-analysis", "Remove Sections 4, 5, 7, 9 and 10; everything else stays as it is");
  remove->add_option("file", *file, "SCP-ECG file to change")->required();
  AddInPlaceFlag(*remove, *inPlace);
  remove->callback([file, inPlace, &status] { status = RunRemove(*file, *inPlace); });
}

}  // namespace scpecg
