#include "analyze_record.h"

#include "analysis/analysis.h"
#include "platform/errors.h"
#include "scp_error.h"
#include "statement_texts.h"

namespace py = pybind11;

namespace ktxpy {

py::dict AnalyzeRecord(const std::string& path, const std::string& language, bool shortAnalysis,
                       bool text, bool patientWarning) {
  const int32_t index = scpecg::LanguageIndex(language);
  if (index < 0) throw py::value_error("unknown language: " + language);
  int16_t result = 0;
  uint32_t error = 0;
  {
    py::gil_scoped_release release;
    CAnalysis analysis;
    analysis.SelectWriter(u"ktxscp32-python", KTX_PYTHON_VERSION);
    analysis.GenerateAnalysisText = text;
    analysis.GeneratePatientWarningText = patientWarning;
    plat::SetLastError(plat::kErrSuccess);
    result = analysis.CreateAnalysis(path.c_str(), index, shortAnalysis);
    error = plat::LastError();
  }
  const bool fileResult = result >= ResultNotFileOpen && result <= ResultNotFileSeek;
  if ((result < 0 || fileResult) && plat::IsFileSystemError(error)) ThrowError(error, path);
  const char* name = AnalysisResultName(result);
  const char* description = AnalysisResultText(result);
  py::dict out;
  out["result"] = result;
  out["name"] = name != nullptr ? name : "UnknownResult";
  out["text"] = description != nullptr ? description : "unknown result";
  return out;
}

}  // namespace ktxpy
