#include "automation/scp_analysis.h"

#include "automation/analysis_run.h"
#include "automation/narrow_name.h"

namespace ktx_com {

HRESULT CScpAnalysis::CreateAnalysis(BSTR ScpFilename, LONG lLanguage, VARIANT_BOOL bbvShort,
                                     short* ipResult) {
  if (!ipResult) return E_INVALIDARG;
  // A missing name is refused as every other object refuses it.
  if (!ScpFilename) return E_INVALIDARG;
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  // Whatever the analysis answers, the call itself succeeded: the outcome is the code.
  *ipResult = RunAnalysis(name, lLanguage, bbvShort != 0, analysis_text_ != 0, warning_text_ != 0);
  return S_OK;
}

HRESULT CScpAnalysis::RemoveAnalysis(BSTR ScpFilename) {
  if (!ScpFilename) return E_INVALIDARG;
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  return RemoveStoredAnalysis(name) ? S_OK : E_FAIL;
}
HRESULT CScpAnalysis::get_GenerateAnalysisText(VARIANT_BOOL* pVal) {
  if (!pVal) return E_INVALIDARG;
  *pVal = analysis_text_;
  return S_OK;
}

HRESULT CScpAnalysis::put_GenerateAnalysisText(VARIANT_BOOL value) {
  analysis_text_ = value;
  return S_OK;
}

HRESULT CScpAnalysis::get_GeneratePatientWarningText(VARIANT_BOOL* pVal) {
  if (!pVal) return E_INVALIDARG;
  *pVal = warning_text_;
  return S_OK;
}

HRESULT CScpAnalysis::put_GeneratePatientWarningText(VARIANT_BOOL value) {
  warning_text_ = value;
  return S_OK;
}

}  // namespace ktx_com
