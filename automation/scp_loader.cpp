#include "automation/scp_loader.h"

#include "automation/com_boundary.h"
#include "automation/crc_answer.h"
#include "automation/lead_set_dispatch.h"
#include "automation/narrow_name.h"
#include "automation/object_transfer.h"
#include "platform/errors.h"

namespace ktx_com {
namespace {

// The sections a record needs to count as a valid 12-lead record: 0, 1, 3 and 6.
constexpr uint16_t kValidSections = kSection0 | kSection1 | kSection3 | kSection6;

// A loaded member into the client's object: E_FAIL while its section is not loaded.
template <class Object, class Record, class Transfer>
HRESULT TransferLoaded(Object* object, Record* record, Transfer transfer) {
  if (!object) return E_INVALIDARG;
  if (!record) return E_FAIL;
  return transfer(object, record);
}

}  // namespace

HRESULT CScpLoader::LoadAll(BSTR ScpFilename, bool* loaded) {
  return ComBoundary([&]() -> HRESULT {
    *loaded = false;
    if (!ScpFilename) return E_INVALIDARG;
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) {
      // A failed load leaves the loader empty, whatever made it fail.
      reader_.Close();
      return E_FAIL;
    }
    uint16_t mask = 0;
    *loaded = reader_.Load(name, &mask, kAllSections);
    return *loaded ? S_OK : E_FAIL;
  });
}

HRESULT CScpLoader::Load(BSTR ScpFilename) {
  return ComBoundary([&]() -> HRESULT {
    bool loaded = false;
    return LoadAll(ScpFilename, &loaded);
  });
}

HRESULT CScpLoader::Unload() {
  return ComBoundary([&]() -> HRESULT {
    reader_.Close();
    return S_OK;
  });
}

HRESULT CScpLoader::GetPatient(IScpPatientInfo* pPatInfo) {
  return ComBoundary([&]() -> HRESULT {
    return TransferLoaded(
        pPatInfo, pPatInfo ? reader_.LoadedPatient() : nullptr,
        [](IScpPatientInfo* o, CPatientInfo* r) { return FillPatientObject(o, r); });
  });
}

HRESULT CScpLoader::GetRecording(IScpRecordingInfo* pRecInfo) {
  return ComBoundary([&]() -> HRESULT {
    return TransferLoaded(
        pRecInfo, pRecInfo ? reader_.LoadedRecording() : nullptr,
        [](IScpRecordingInfo* o, CRecordInfo* r) { return FillRecordingObject(o, r); });
  });
}

HRESULT CScpLoader::GetLeadErrors(IScpLeadErrorInfo* pLeadErrors) {
  return ComBoundary([&]() -> HRESULT {
    return TransferLoaded(
        pLeadErrors, pLeadErrors ? reader_.LoadedLeadErrors() : nullptr,
        [](IScpLeadErrorInfo* o, SLeadErrors* r) { return FillLeadErrorObject(o, r); });
  });
}

HRESULT CScpLoader::GetGeneral(IScpGeneralInfo* pGenInfo) {
  return ComBoundary([&]() -> HRESULT {
    return TransferLoaded(
        pGenInfo, pGenInfo ? reader_.LoadedGeneral() : nullptr,
        [](IScpGeneralInfo* o, CGeneralInfo* r) { return FillGeneralObject(o, r); });
  });
}

HRESULT CScpLoader::GetAnalysis(IScpAnalysisInfo* pAnlyInfo) {
  return ComBoundary([&]() -> HRESULT {
    return TransferLoaded(
        pAnlyInfo, pAnlyInfo ? reader_.LoadedAnalysis() : nullptr,
        [](IScpAnalysisInfo* o, CAnalysisInfo* r) { return FillAnalysisObject(o, r); });
  });
}

HRESULT CScpLoader::GetLeadData(IScpLeadData* pLeadData) {
  return ComBoundary([&]() -> HRESULT {
    return TransferLoaded(
        pLeadData, pLeadData ? reader_.LoadedLeadMeasurements() : nullptr,
        [](IScpLeadData* o, SLeadMeasurements* r) { return FillLeadDataObject(o, r); });
  });
}

HRESULT CScpLoader::GetRhythm(IScpEncodedData* pEncodedData) {
  return ComBoundary([&]() -> HRESULT {
    if (!pEncodedData) return E_INVALIDARG;
    SLeadDefinitions* leads = reader_.GetLeadDefinitions();
    SEncodedData* rhythm = reader_.LoadedRhythm();
    if (!leads || !rhythm) return E_FAIL;
    return FillEncodedDataObject(pEncodedData, leads, rhythm, EEncodedForm::Rhythm);
  });
}

HRESULT CScpLoader::GetMedian(IScpEncodedData* pEncodedData) {
  return ComBoundary([&]() -> HRESULT {
    if (!pEncodedData) return E_INVALIDARG;
    SLeadDefinitions* leads = reader_.GetLeadDefinitions();
    SEncodedData* median = reader_.LoadedMedian();
    if (!leads || !median) return E_FAIL;
    return FillEncodedDataObject(pEncodedData, leads, median, EEncodedForm::ReferenceBeat);
  });
}

HRESULT CScpLoader::GenerateCalculatedLeads() {
  return ComBoundary(
      [&]() -> HRESULT { return reader_.GenerateCalculatedLeads() ? S_OK : E_FAIL; });
}

HRESULT CScpLoader::GenerateLeadErrors() {
  return ComBoundary([&]() -> HRESULT { return reader_.GenerateLeadErrors() ? S_OK : E_FAIL; });
}

HRESULT CScpLoader::ValidatedLoad(BSTR ScpFilename) {
  return ComBoundary([&]() -> HRESULT {
    bool loaded = false;
    HRESULT hr = LoadAll(ScpFilename, &loaded);
    if (FAILED(hr)) return hr;
    // All three are evaluated, whatever the first answers.
    const bool sections = (reader_.Loaded & kValidSections) == kValidSections;
    const bool tags = reader_.HasRequiredTags() != 0;
    const bool leads = reader_.GetLeadCount() >= 1;
    return sections && tags && leads ? S_OK : E_FAIL;
  });
}

HRESULT CScpLoader::GetLeadSet(short iLeadsInSet, short* ipLeadIdSet, VARIANT_BOOL* bbvpFound) {
  return ComBoundary([&]() -> HRESULT {
    if (!ipLeadIdSet || !bbvpFound) return E_INVALIDARG;
    plat::SetLastError(plat::kErrSuccess);
    if (reader_.HasLeadSet(static_cast<uint8_t>(iLeadsInSet & 0xFF), ipLeadIdSet)) {
      *bbvpFound = VARIANT_TRUE;
    } else if (plat::LastError() == plat::kErrSuccess) {
      *bbvpFound = VARIANT_FALSE;
    } else {
      return E_FAIL;
    }
    return S_OK;
  });
}

HRESULT CScpLoader::GetLeads(short* pVal) {
  return ComBoundary([&]() -> HRESULT {
    if (!pVal) return E_INVALIDARG;
    plat::SetLastError(plat::kErrSuccess);
    const uint8_t count = reader_.GetLeadCount();
    *pVal = count;
    return count == 0 && plat::LastError() == plat::kErrNoData ? E_FAIL : S_OK;
  });
}

HRESULT CScpLoader::ReadCRCCheck(BSTR ScpFilename, VARIANT_BOOL* pGoodCRC) {
  return ComBoundary([&]() -> HRESULT { return CrcAnswer(ScpFilename, pGoodCRC); });
}

HRESULT CScpLoader::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* arg) {
  return ComBoundary([&]() -> HRESULT {
    auto invoke = [&](DISPPARAMS* p) {
      return CComObject::Invoke(id, iid, lcid, flags, p, result, exception, arg);
    };
    constexpr DISPID kLeadSet = 14;
    return id == kLeadSet ? InvokeLeadSet(params, 0, 1, invoke) : invoke(params);
  });
}

}  // namespace ktx_com
