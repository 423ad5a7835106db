// The analysis object itself, and the tables of result codes and language modules.
#include "analysis/analysis.h"
#include "record/engine_abi.h"

namespace {

struct ResultEntry {
  int16_t Code;
  const char* Name;
  const char* Text;
};

constexpr ResultEntry kResults[] = {
    {-6, "ResultNotText", "Can't write interpretation text"},
    {-5, "ResultNotFile", "Can't manipulate files"},
    {-4, "ResultNotAble", "Unable to use dll"},
    {-3, "ResultNotEmptyAnalysis", "Analysis not empty"},
    {-2, "ResultNotParameter", "Bad parameter"},
    {-1, "ResultNotFileValid", "File is not a valid 12 Lead file"},
    {0, "ResultIsSuccess", "OK"},
    {1, "ResultNotMemory", "Not enough memory"},
    {2, "ResultNotFileOpen", "Error in file open"},
    {3, "ResultNotFileRead", "Error in file read"},
    {4, "ResultNotFileWrite", "Error in file write"},
    {5, "ResultNotFileSeek", "Error in file seek"},
    {6, "ResultNotQRS", "No QRS complex"},
    {7, "ResultNotPorT", "No P or T waves"},
    {8, "ResultNotFileFound", "No file found"},
    {9, "ResultNotFileLog", "Error using log file"},
    {10, "ResultNotStringManipulation", "Error in string manipulation"},
    {11, "ResultNotModuleParameters", "Error in analysis module parameters"},
    {12, "ResultNotGraphAverages", "Unable to graph average"},
    {13, "ResultNotAnalyseSignal", "Unable to analyse this signal"},
    {14, "ResultNotSignal", "A Lead is off"},
    {15, "ResultNotFileSCP", "Not a valid scp filename"},
};

const ResultEntry* FindResult(int16_t code) {
  for (const auto& entry : kResults) {
    if (entry.Code == code) return &entry;
  }
  return nullptr;
}

}  // namespace

const char* AnalysisResultName(int16_t result) {
  const ResultEntry* entry = FindResult(result);
  return entry != nullptr ? entry->Name : nullptr;
}

const char* AnalysisResultText(int16_t result) {
  const ResultEntry* entry = FindResult(result);
  return entry != nullptr ? entry->Text : nullptr;
}

const char* LanguageModuleName(uint32_t language) {
  return language < ktx::abi::kLanguageCount ? ktx::abi::kLanguageModules[language] : nullptr;
}

CAnalysis::CAnalysis() = default;

CAnalysis::~CAnalysis() = default;

CAnalysis::CAnalysis(const CAnalysis& source)
    : CWriter(source),
      GenerateAnalysisText(source.GenerateAnalysisText),
      GeneratePatientWarningText(source.GeneratePatientWarningText),
      ShortStatementPrefix(source.ShortStatementPrefix) {}

CAnalysis& CAnalysis::operator=(const CAnalysis& source) {
  if (this != &source) {
    CWriter::operator=(source);
    GenerateAnalysisText = source.GenerateAnalysisText;
    GeneratePatientWarningText = source.GeneratePatientWarningText;
    ShortStatementPrefix = source.ShortStatementPrefix;
  }
  return *this;
}

void CAnalysis::SelectWriter(const plat::OleChar* application, const plat::OleChar* version) {
  CWriter::SelectWriter(application, version);
}
