// scpecg analyze: runs the analysis engine on a record and stores its results;
// scpecg remove-analysis: drops them again.
#include <iostream>
#include <map>
#include <string>

#include "analysis/analysis.h"
#include "commands.h"
#include "platform/errors.h"
#include "platform/module.h"
#include "reader/reader.h"
#include "record_json.h"

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
};

const std::map<std::string, int32_t> kLanguages = {
    {"en", 0}, {"fr", 1}, {"de", 2}, {"it", 3}, {"es", 4}, {"pt", 5}, {"ja", 6},
    {"0", 0},  {"1", 1},  {"2", 2},  {"3", 3},  {"4", 4},  {"5", 5},  {"6", 6},
};

// The statement texts of the codes, from the language module as the driver reads
// them (prefix dropped); a code without a text gets none.
Json CodeTexts(const uint16_t* codes, unsigned count, int32_t language, bool shortPrefix) {
  Json list = Json::array();
  plat::ModuleHandle module = plat::LoadModule(LanguageModuleName(static_cast<uint32_t>(language)));
  const size_t prefix = shortPrefix ? 3 : 7;
  for (unsigned i = 0; i < count; ++i) {
    Json item{{"code", codes[i]}};
    char buffer[256] = {};
    const int length =
        module != nullptr ? plat::LoadStringResource(module, 1000u + codes[i], buffer, 256) : 0;
    if (length > 0 && static_cast<size_t>(length) > prefix) {
      plat::WideString wide;
      if (plat::AnsiToWide(buffer + prefix, length - static_cast<int32_t>(prefix), &wide)) {
        item["text"] = Utf8(wide.c_str());
      }
    }
    list.push_back(item);
  }
  plat::UnloadModule(module);
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

int RunAnalyze(const AnalyzeOptions& options) {
  const int32_t language = kLanguages.at(options.Language);
  CAnalysis analysis;
  if (!SelectToolWriter(analysis)) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  analysis.GenerateAnalysisText = options.Text;
  analysis.GeneratePatientWarningText = options.PatientWarning;
  analysis.ShortStatementPrefix = options.ShortPrefix;
  const int16_t result = analysis.CreateAnalysis(options.File.c_str(), language, options.Short);
  const char* name = AnalysisResultName(result);
  const char* text = AnalysisResultText(result);
  const std::string nameText = name != nullptr ? name : "UnknownResult";
  const std::string textText = text != nullptr ? text : "unknown result";
  if (options.Json) {
    Json out{{"file", options.File}, {"result", result}, {"name", nameText}, {"text", textText}};
    if (result == ResultIsSuccess) out["analysis"] = Results(options, language);
    std::cout << out.dump(2) << "\n";
  } else {
    std::cout << options.File << ": " << result << " " << nameText << " " << textText << "\n";
  }
  return result == ResultIsSuccess ? kExitOk : kExitFailed;
}

int RunRemove(const std::string& file) {
  CAnalysis analysis;
  if (!SelectToolWriter(analysis) || !analysis.RemoveAnalysisData(file.c_str())) {
    std::cerr << file << ": " << ErrorText(plat::LastError()) << " (file left as it was)\n";
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
  command->add_option("file", options->File, "SCP-ECG file to analyse, in place")->required();
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
  command->callback([options, &status] { status = RunAnalyze(*options); });

  auto file = std::make_shared<std::string>();
  CLI::App* remove = app.add_subcommand(
      "remove-analysis", "Remove Sections 4, 5, 7, 9 and 10; everything else stays as it is");
  remove->add_option("file", *file, "SCP-ECG file, changed in place")->required();
  remove->callback([file, &status] { status = RunRemove(*file); });
}

}  // namespace scpecg
