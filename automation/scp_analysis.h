// ScpAnalysis: runs the ECG analysis on a file and stores its results there, or removes
// them again. The two text switches live with the object and reach every analysis.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"

namespace ktx_com {

class CScpAnalysis : public CComObject<IScpAnalysis> {
 public:
  explicit CScpAnalysis(IUnknown* outer) : CComObject(outer) {}

  HRESULT STDMETHODCALLTYPE CreateAnalysis(BSTR ScpFilename, LONG lLanguage, VARIANT_BOOL bbvShort,
                                           short* ipResult) override;
  HRESULT STDMETHODCALLTYPE RemoveAnalysis(BSTR ScpFilename) override;
  KTX_DECLARE_PROPERTY(GenerateAnalysisText, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(GeneratePatientWarningText, VARIANT_BOOL)

 private:
  VARIANT_BOOL analysis_text_ = VARIANT_TRUE;
  VARIANT_BOOL warning_text_ = VARIANT_TRUE;
};

}  // namespace ktx_com
