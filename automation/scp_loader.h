// ScpLoader: keeps one record loaded between calls, so a client reads its parts as often
// as it likes without opening the file again.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "reader/reader.h"

namespace ktx_com {

class CScpLoader : public CComObject<IScpLoader> {
 public:
  explicit CScpLoader(IUnknown* outer) : CComObject(outer) {}

  // Late-bound callers may hand the lead codes over as an array (lead_set_dispatch.h).
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg) override;

  HRESULT STDMETHODCALLTYPE Load(BSTR ScpFilename) override;
  HRESULT STDMETHODCALLTYPE Unload() override;
  HRESULT STDMETHODCALLTYPE GetPatient(IScpPatientInfo* pPatInfo) override;
  HRESULT STDMETHODCALLTYPE GetRecording(IScpRecordingInfo* pRecInfo) override;
  HRESULT STDMETHODCALLTYPE GetLeadErrors(IScpLeadErrorInfo* pLeadErrors) override;
  HRESULT STDMETHODCALLTYPE GetGeneral(IScpGeneralInfo* pGenInfo) override;
  HRESULT STDMETHODCALLTYPE GetAnalysis(IScpAnalysisInfo* pAnlyInfo) override;
  HRESULT STDMETHODCALLTYPE GetLeadData(IScpLeadData* pLeadData) override;
  HRESULT STDMETHODCALLTYPE GetRhythm(IScpEncodedData* pEncodedData) override;
  HRESULT STDMETHODCALLTYPE GetMedian(IScpEncodedData* pEncodedData) override;
  HRESULT STDMETHODCALLTYPE GenerateCalculatedLeads() override;
  HRESULT STDMETHODCALLTYPE GenerateLeadErrors() override;
  HRESULT STDMETHODCALLTYPE ValidatedLoad(BSTR ScpFilename) override;
  HRESULT STDMETHODCALLTYPE GetLeadSet(short iLeadsInSet, short* ipLeadIdSet,
                                       VARIANT_BOOL* bbvpFound) override;
  HRESULT STDMETHODCALLTYPE GetLeads(short* pVal) override;
  HRESULT STDMETHODCALLTYPE ReadCRCCheck(BSTR ScpFilename, VARIANT_BOOL* pGoodCRC) override;

 private:
  // Load of every section; *loaded true when the reader accepted the file.
  HRESULT LoadAll(BSTR ScpFilename, bool* loaded);

  CReader reader_;
};

}  // namespace ktx_com
