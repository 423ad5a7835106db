// ScpAnalysisInfo: global measurements and statement codes of an analysis, kept in the
// core's own record.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"
#include "record/analysis_info.h"

namespace ktx_com {

class CScpAnalysisInfo : public CComObject<IScpAnalysisInfo> {
 public:
  explicit CScpAnalysisInfo(IUnknown* outer) : CComObject(outer) { info_.SetDefault(); }

  KTX_DECLARE_PROPERTY(MorphologyCodes, short)
  KTX_DECLARE_PROPERTY(RhythmCodes, short)
  HRESULT STDMETHODCALLTYPE get_MorphologyCode(short iIndex, short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_MorphologyCode(short iIndex, short value) override;
  HRESULT STDMETHODCALLTYPE get_RhythmCode(short iIndex, short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_RhythmCode(short iIndex, short value) override;
  KTX_DECLARE_PROPERTY(AvPPms, short)
  KTX_DECLARE_PROPERTY(AvRRms, short)
  KTX_DECLARE_PROPERTY(PossiblePacemakerSpikes, short)
  KTX_DECLARE_PROPERTY(QRSTypes, short)
  KTX_DECLARE_PROPERTY(QRSAxis, short)
  KTX_DECLARE_PROPERTY(PAxis, short)
  KTX_DECLARE_PROPERTY(POffsetms, short)
  KTX_DECLARE_PROPERTY(QRSOffsetms, short)
  KTX_DECLARE_PROPERTY(QRSOnsetms, short)
  KTX_DECLARE_PROPERTY(TAxis, short)
  KTX_DECLARE_PROPERTY(TOffsetms, short)
  KTX_DECLARE_PROPERTY(POnsetms, short)

 private:
  CAnalysisInfo info_;
};

}  // namespace ktx_com
