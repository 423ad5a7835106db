#include "automation/scp_analysis.h"

#include "automation/analysis_run.h"
#include "automation/com_boundary.h"
#include "automation/narrow_name.h"
#include "automation/property_macros.h"

namespace ktx_com {

HRESULT CScpAnalysis::CreateAnalysis(BSTR ScpFilename, LONG lLanguage, VARIANT_BOOL bbvShort,
                                     short* ipResult) {
  return ComBoundary([&]() -> HRESULT {
    if (!ipResult) return E_INVALIDARG;
    // A missing name is refused as every other object refuses it.
    if (!ScpFilename) return E_INVALIDARG;
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) return E_FAIL;
    // Whatever the analysis answers, the call itself succeeded: the outcome is the code.
    *ipResult =
        RunAnalysis(name, lLanguage, bbvShort != 0, analysis_text_ != 0, warning_text_ != 0);
    return S_OK;
  });
}

HRESULT CScpAnalysis::RemoveAnalysis(BSTR ScpFilename) {
  return ComBoundary([&]() -> HRESULT {
    if (!ScpFilename) return E_INVALIDARG;
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) return E_FAIL;
    return RemoveStoredAnalysis(name) ? S_OK : E_FAIL;
  });
}
KTX_PLAIN_PROPERTY(CScpAnalysis, GenerateAnalysisText, VARIANT_BOOL, analysis_text_)
KTX_PLAIN_PROPERTY(CScpAnalysis, GeneratePatientWarningText, VARIANT_BOOL, warning_text_)

}  // namespace ktx_com
