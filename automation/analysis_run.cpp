#include "automation/analysis_run.h"

#include <windows.h>

#include <cstring>

#include "analysis/analysis.h"
#include "automation/module.h"
#include "record/engine_abi.h"

namespace ktx_com {
namespace {

// Files the analysis rewrites name this module, in its four-part version.
void StampAnalyser(CAnalysis* analysis) {
  analysis->SelectWriter(L"KTXSCP32.DLL", L"1.6.0.0");
}

// The engine and language modules ship beside this module, wherever the host process
// lives. Loading them from there first makes the driver's load by plain name find the
// module already in the process; the references are dropped again after the call.
class CModulesBeside {
 public:
  explicit CModulesBeside(int32_t language) {
    Load(ktx::abi::kEngineModule);
    const char* strings =
        language >= 0 ? LanguageModuleName(static_cast<uint32_t>(language)) : nullptr;
    if (strings) Load(strings);
  }
  ~CModulesBeside() {
    for (HMODULE module : modules_) {
      if (module) FreeLibrary(module);
    }
  }
  CModulesBeside(const CModulesBeside&) = delete;
  CModulesBeside& operator=(const CModulesBeside&) = delete;

 private:
  void Load(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(ModuleInstance(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* folderEnd = strrchr(path, '\\');
    if (!folderEnd || strlen(name) + 1 > MAX_PATH - static_cast<size_t>(folderEnd + 1 - path)) {
      return;
    }
    strcpy(folderEnd + 1, name);
    // A module that is not there is the driver's to report.
    const DWORD saved = GetLastError();
    modules_[count_++] = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    SetLastError(saved);
  }

  HMODULE modules_[2] = {};
  int count_ = 0;
};

}  // namespace

int16_t RunAnalysis(const char* name, int32_t language, bool shortAnalysis, bool analysisText,
                    bool warningText) {
  const CModulesBeside modules(language);
  CAnalysis analysis;
  StampAnalyser(&analysis);
  analysis.GenerateAnalysisText = analysisText;
  analysis.GeneratePatientWarningText = warningText;
  return analysis.CreateAnalysis(name, language, shortAnalysis);
}

bool RemoveStoredAnalysis(const char* name) {
  CAnalysis analysis;
  StampAnalyser(&analysis);
  return analysis.RemoveAnalysisData(name);
}

}  // namespace ktx_com
