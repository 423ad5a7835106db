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
    {ResultNotText, "ResultNotText", "Can't write interpretation text"},
    {ResultNotFile, "ResultNotFile", "Can't manipulate files"},
    {ResultNotAble, "ResultNotAble", "Unable to use dll"},
    {ResultNotEmptyAnalysis, "ResultNotEmptyAnalysis", "Analysis not empty"},
    {ResultNotParameter, "ResultNotParameter", "Bad parameter"},
    {ResultNotFileValid, "ResultNotFileValid", "File is not a valid 12 Lead file"},
    {ResultIsSuccess, "ResultIsSuccess", "OK"},
    {ResultNotMemory, "ResultNotMemory", "Not enough memory"},
    {ResultNotFileOpen, "ResultNotFileOpen", "Error in file open"},
    {ResultNotFileRead, "ResultNotFileRead", "Error in file read"},
    {ResultNotFileWrite, "ResultNotFileWrite", "Error in file write"},
    {ResultNotFileSeek, "ResultNotFileSeek", "Error in file seek"},
    {ResultNotQRS, "ResultNotQRS", "No QRS complex"},
    {ResultNotPorT, "ResultNotPorT", "No P or T waves"},
    {ResultNotFileFound, "ResultNotFileFound", "No file found"},
    {ResultNotFileLog, "ResultNotFileLog", "Error using log file"},
    {ResultNotStringManipulation, "ResultNotStringManipulation", "Error in string manipulation"},
    {ResultNotModuleParameters, "ResultNotModuleParameters", "Error in analysis module parameters"},
    {ResultNotGraphAverages, "ResultNotGraphAverages", "Unable to graph average"},
    {ResultNotAnalyseSignal, "ResultNotAnalyseSignal", "Unable to analyse this signal"},
    {ResultNotSignal, "ResultNotSignal", "A Lead is off"},
    {ResultNotFileSCP, "ResultNotFileSCP", "Not a valid scp filename"},
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
