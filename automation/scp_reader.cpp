#include "automation/scp_reader.h"

#include "automation/com_boundary.h"
#include "automation/crc_answer.h"
#include "automation/lead_set_dispatch.h"
#include "automation/narrow_name.h"
#include "automation/object_transfer.h"
#include "platform/errors.h"
#include "reader/reader.h"

namespace ktx_com {
namespace {

// The common road of every read that fills an object: checks, name, read, transfer.
// The client's object is touched only when the read succeeded.
template <class Object, class Read, class Transfer>
HRESULT ReadInto(BSTR ScpFilename, Object* object, Read read, Transfer transfer) {
  if (!ScpFilename || !object) return E_INVALIDARG;
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  if (!read(name)) return E_FAIL;
  return transfer(object);
}

// Section 3 and one sample section, for ReadRhythm and ReadMedian.
HRESULT ReadSamples(BSTR ScpFilename, IScpEncodedData* object, bool referenceBeats) {
  SLeadDefinitions leads;
  SEncodedData samples;
  return ReadInto(
      ScpFilename, object,
      [&](const char* name) {
        if (!CReader::ReadLeadDefinitions(name, &leads)) return false;
        return referenceBeats ? CReader::ReadMedian(name, &samples)
                              : CReader::ReadRhythm(name, &samples);
      },
      [&](IScpEncodedData* o) {
        return FillEncodedDataObject(
            o, &leads, &samples,
            referenceBeats ? EEncodedForm::ReferenceBeat : EEncodedForm::Rhythm);
      });
}

}  // namespace

HRESULT CScpReader::ReadPatient(BSTR ScpFilename, IScpPatientInfo* pPatInfo) {
  return ComBoundary([&]() -> HRESULT {
    CPatientInfo patient;
    return ReadInto(
        ScpFilename, pPatInfo,
        [&](const char* name) { return CReader::ReadPatient(name, &patient, nullptr); },
        [&](IScpPatientInfo* o) { return FillPatientObject(o, &patient); });
  });
}

HRESULT CScpReader::ReadRecording(BSTR ScpFilename, IScpRecordingInfo* pRecInfo) {
  return ComBoundary([&]() -> HRESULT {
    CRecordInfo recording;
    return ReadInto(
        ScpFilename, pRecInfo,
        [&](const char* name) { return CReader::ReadPatient(name, nullptr, &recording); },
        [&](IScpRecordingInfo* o) { return FillRecordingObject(o, &recording); });
  });
}

HRESULT CScpReader::ReadGeneral(BSTR ScpFilename, IScpGeneralInfo* pGenInfo) {
  return ComBoundary([&]() -> HRESULT {
    CGeneralInfo general;
    return ReadInto(
        ScpFilename, pGenInfo,
        [&](const char* name) { return CReader::ReadGeneral(name, &general); },
        [&](IScpGeneralInfo* o) { return FillGeneralObject(o, &general); });
  });
}

HRESULT CScpReader::ReadAnalysis(BSTR ScpFilename, IScpAnalysisInfo* pAnlyInfo) {
  return ComBoundary([&]() -> HRESULT {
    CAnalysisInfo analysis;
    return ReadInto(
        ScpFilename, pAnlyInfo,
        [&](const char* name) { return CReader::ReadAnalysis(name, &analysis); },
        [&](IScpAnalysisInfo* o) { return FillAnalysisObject(o, &analysis); });
  });
}

HRESULT CScpReader::ReadLeadErrors(BSTR ScpFilename, IScpLeadErrorInfo* pLeadErrors) {
  return ComBoundary([&]() -> HRESULT {
    SLeadErrors errors;
    return ReadInto(
        ScpFilename, pLeadErrors,
        [&](const char* name) { return CReader::ReadLeadErrors(name, &errors); },
        [&](IScpLeadErrorInfo* o) { return FillLeadErrorObject(o, &errors); });
  });
}

HRESULT CScpReader::ReadLeadData(BSTR ScpFilename, IScpLeadData* pLeadData) {
  return ComBoundary([&]() -> HRESULT {
    SLeadMeasurements measurements;
    return ReadInto(
        ScpFilename, pLeadData,
        [&](const char* name) { return CReader::ReadLeadMeasurements(name, &measurements); },
        [&](IScpLeadData* o) { return FillLeadDataObject(o, &measurements); });
  });
}

HRESULT CScpReader::ReadRhythm(BSTR ScpFilename, IScpEncodedData* pEncodedData) {
  return ComBoundary([&]() -> HRESULT { return ReadSamples(ScpFilename, pEncodedData, false); });
}

HRESULT CScpReader::ReadMedian(BSTR ScpFilename, IScpEncodedData* pEncodedData) {
  return ComBoundary([&]() -> HRESULT { return ReadSamples(ScpFilename, pEncodedData, true); });
}

HRESULT CScpReader::ReadLeadSet(BSTR ScpFilename, short iLeadsInSet, short* ipLeadIdSet,
                                VARIANT_BOOL* bbvpFound) {
  return ComBoundary([&]() -> HRESULT {
    if (!ScpFilename || !ipLeadIdSet || !bbvpFound) return E_INVALIDARG;
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) return E_FAIL;
    plat::SetLastError(plat::kErrSuccess);
    if (CReader::ReadLeadSet(name, static_cast<uint8_t>(iLeadsInSet & 0xFF), ipLeadIdSet)) {
      *bbvpFound = VARIANT_TRUE;
    } else if (plat::LastError() == plat::kErrSuccess) {
      *bbvpFound = VARIANT_FALSE;
    } else {
      return E_FAIL;
    }
    return S_OK;
  });
}

HRESULT CScpReader::ReadLeads(BSTR ScpFilename, short* pVal) {
  return ComBoundary([&]() -> HRESULT {
    if (!ScpFilename || !pVal) return E_INVALIDARG;
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) return E_FAIL;
    plat::SetLastError(plat::kErrSuccess);
    *pVal = CReader::ReadLeadCount(name);
    return *pVal != 0 || plat::LastError() == plat::kErrSuccess ? S_OK : E_FAIL;
  });
}

HRESULT CScpReader::ReadCRCCheck(BSTR ScpFilename, VARIANT_BOOL* pGoodCRC) {
  return ComBoundary([&]() -> HRESULT { return CrcAnswer(ScpFilename, pGoodCRC); });
}

HRESULT CScpReader::HasMeasurements(BSTR ScpFilename, VARIANT_BOOL* bReturn) {
  return ComBoundary([&]() -> HRESULT {
    // A missing result pointer is refused like a missing name.
    if (!ScpFilename || !bReturn) return E_INVALIDARG;
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) return E_FAIL;
    SLeadMeasurements measurements;
    // This answer has always been 1, not -1, for true.
    *bReturn = CReader::ReadLeadMeasurements(name, &measurements) ? 1 : 0;
    return S_OK;
  });
}

HRESULT CScpReader::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* arg) {
  return ComBoundary([&]() -> HRESULT {
    auto invoke = [&](DISPPARAMS* p) {
      return CComObject::Invoke(id, iid, lcid, flags, p, result, exception, arg);
    };
    constexpr DISPID kLeadSet = 9;
    return id == kLeadSet ? InvokeLeadSet(params, 1, 2, invoke) : invoke(params);
  });
}

}  // namespace ktx_com
