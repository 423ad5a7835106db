// ScpReader: stand-alone reads. Each call opens the named file, reads one item into a
// record of its own, closes the file and hands the record to the client's object.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"

namespace ktx_com {

class CScpReader : public CComObject<IScpReader> {
 public:
  explicit CScpReader(IUnknown* outer) : CComObject(outer) {}

  // Late-bound callers may hand the lead codes over as an array (lead_set_dispatch.h).
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg) override;

  HRESULT STDMETHODCALLTYPE ReadPatient(BSTR ScpFilename, IScpPatientInfo* pPatInfo) override;
  HRESULT STDMETHODCALLTYPE ReadRecording(BSTR ScpFilename, IScpRecordingInfo* pRecInfo) override;
  HRESULT STDMETHODCALLTYPE ReadGeneral(BSTR ScpFilename, IScpGeneralInfo* pGenInfo) override;
  HRESULT STDMETHODCALLTYPE ReadAnalysis(BSTR ScpFilename, IScpAnalysisInfo* pAnlyInfo) override;
  HRESULT STDMETHODCALLTYPE ReadLeadErrors(BSTR ScpFilename,
                                           IScpLeadErrorInfo* pLeadErrors) override;
  HRESULT STDMETHODCALLTYPE ReadLeadData(BSTR ScpFilename, IScpLeadData* pLeadData) override;
  HRESULT STDMETHODCALLTYPE ReadRhythm(BSTR ScpFilename, IScpEncodedData* pEncodedData) override;
  HRESULT STDMETHODCALLTYPE ReadMedian(BSTR ScpFilename, IScpEncodedData* pEncodedData) override;
  HRESULT STDMETHODCALLTYPE ReadLeadSet(BSTR ScpFilename, short iLeadsInSet, short* ipLeadIdSet,
                                        VARIANT_BOOL* bbvpFound) override;
  HRESULT STDMETHODCALLTYPE ReadLeads(BSTR ScpFilename, short* pVal) override;
  HRESULT STDMETHODCALLTYPE ReadCRCCheck(BSTR ScpFilename, VARIANT_BOOL* pGoodCRC) override;
  HRESULT STDMETHODCALLTYPE HasMeasurements(BSTR ScpFilename, VARIANT_BOOL* bReturn) override;
};

}  // namespace ktx_com
