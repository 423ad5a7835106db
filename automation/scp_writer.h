// ScpWriter: creates SCP-ECG files from acquisitions and edits single fields of existing
// ones. Every call builds a writer of its own for that call; the object keeps nothing.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"

namespace ktx_com {

class CScpWriter : public CComObject<IScpWriter> {
 public:
  explicit CScpWriter(IUnknown* outer) : CComObject(outer) {}

  // Late-bound callers of the memory creations hand over an array of bytes (see
  // scp_writer_bytes.cpp); everything else goes the type library's way.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg) override;

  HRESULT STDMETHODCALLTYPE CreateFromBioFile(BSTR ScpFilename, BSTR BioFilename,
                                              IScpPatientInfo* pPatInfo) override;
  HRESULT STDMETHODCALLTYPE CreateFromRaw12LFile(BSTR ScpFilename, BSTR RawFilename,
                                                 IScpPatientInfo* pPatInfo, double Resolution,
                                                 double SamplingRate, short Leads) override;
  HRESULT STDMETHODCALLTYPE CreateFromRaw8bitFile(BSTR ScpFilename, BSTR RawFilename,
                                                  IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                                  double Resolution, double SamplingRate) override;
  HRESULT STDMETHODCALLTYPE UpdatePatient(BSTR ScpFilename, IScpPatientInfo* pPatInfo) override;
  HRESULT STDMETHODCALLTYPE UpdateRecording(BSTR ScpFilename, IScpRecordingInfo* pRecInfo) override;
  HRESULT STDMETHODCALLTYPE UpdateLeadErrors(BSTR ScpFilename) override;
  HRESULT STDMETHODCALLTYPE UpdateOverreadingPhysician(BSTR ScpFilename, BSTR Name) override;
  HRESULT STDMETHODCALLTYPE UpdateInterpretationPhysician(BSTR ScpFilename, BSTR Name) override;
  HRESULT STDMETHODCALLTYPE UpdateInterpretationText(BSTR ScpFilename, BSTR Text) override;
  HRESULT STDMETHODCALLTYPE UpdateCommentText(BSTR ScpFilename, BSTR Text) override;
  HRESULT STDMETHODCALLTYPE UpdateRecordingId(BSTR ScpFilename, BSTR RecordingId) override;
  HRESULT STDMETHODCALLTYPE UpdateReceived(BSTR ScpFilename, short Day, short Month, short Year,
                                           short Hour, short Minute, short Second) override;
  HRESULT STDMETHODCALLTYPE UpdateInterpretationConfirmed(BSTR ScpFilename,
                                                          VARIANT_BOOL Confirmed) override;
  HRESULT STDMETHODCALLTYPE UpdateBaselineFilter(BSTR ScpFilename, VARIANT_BOOL Used) override;
  HRESULT STDMETHODCALLTYPE UpdateMuscleFilter(BSTR ScpFilename, VARIANT_BOOL Used) override;
  HRESULT STDMETHODCALLTYPE UpdatePowerFilter(BSTR ScpFilename, short PowerSetting) override;
  HRESULT STDMETHODCALLTYPE UpdateRecordingPhysician(BSTR ScpFilename, BSTR Name) override;
  HRESULT STDMETHODCALLTYPE UpdateRecordingLocation(BSTR ScpFilename,
                                                    BSTR RecordingLocation) override;
  HRESULT STDMETHODCALLTYPE UpdateRecordingApp(BSTR ScpFilename, BSTR Application) override;
  HRESULT STDMETHODCALLTYPE UpdateRecordingVer(BSTR ScpFilename, BSTR Version) override;
  HRESULT STDMETHODCALLTYPE UpdateInterpretationApp(BSTR ScpFilename, BSTR Application) override;
  HRESULT STDMETHODCALLTYPE UpdateInterpretationVer(BSTR ScpFilename, BSTR Version) override;
  HRESULT STDMETHODCALLTYPE UpdateCalculatedLeads(BSTR ScpFilename) override;
  HRESULT STDMETHODCALLTYPE CreateEmpty(BSTR ScpFilename) override;
  HRESULT STDMETHODCALLTYPE CreateFromRaw12LMem(BSTR ScpFilename, unsigned char* Data,
                                                LONG DataSize, IScpPatientInfo* pPatInfo,
                                                double Resolution, double SamplingRate,
                                                short Leads) override;
  HRESULT STDMETHODCALLTYPE CreateFromRaw8bitMem(BSTR ScpFilename, unsigned char* Data,
                                                 LONG DataSize, IScpPatientInfo* pPatInfo,
                                                 VARIANT_BOOL Unsigned, double Resolution,
                                                 double SamplingRate) override;
  HRESULT STDMETHODCALLTYPE CreateFromRaw16bitFile(BSTR ScpFilename, BSTR RawFilename,
                                                   IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                                   double Resolution, double SamplingRate) override;
  HRESULT STDMETHODCALLTYPE CreateFromRaw16bitMem(BSTR ScpFilename, unsigned char* Data,
                                                  LONG DataSize, IScpPatientInfo* pPatInfo,
                                                  VARIANT_BOOL Unsigned, double Resolution,
                                                  double SamplingRate) override;
};

}  // namespace ktx_com
