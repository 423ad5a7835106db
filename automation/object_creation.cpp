// The module's own objects, made for the reader and loader to hand out.
#include "automation/object_transfer.h"
#include "automation/scp_analysis_info.h"
#include "automation/scp_encoded_data.h"
#include "automation/scp_general_info.h"
#include "automation/scp_lead_data.h"
#include "automation/scp_lead_error_info.h"
#include "automation/scp_patient_info.h"
#include "automation/scp_recording_info.h"

namespace ktx_com {
namespace {

template <class T, class Interface>
HRESULT NewObject(Interface** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return CreateComObject<T>(nullptr, __uuidof(Interface), reinterpret_cast<void**>(object));
}

}  // namespace

HRESULT NewPatientInfo(IScpPatientInfo** object) {
  return NewObject<CScpPatientInfo>(object);
}
HRESULT NewRecordingInfo(IScpRecordingInfo** object) {
  return NewObject<CScpRecordingInfo>(object);
}
HRESULT NewGeneralInfo(IScpGeneralInfo** object) {
  return NewObject<CScpGeneralInfo>(object);
}
HRESULT NewAnalysisInfo(IScpAnalysisInfo** object) {
  return NewObject<CScpAnalysisInfo>(object);
}
HRESULT NewLeadErrorInfo(IScpLeadErrorInfo** object) {
  return NewObject<CScpLeadErrorInfo>(object);
}
HRESULT NewLeadData(IScpLeadData** object) {
  return NewObject<CScpLeadData>(object);
}
HRESULT NewEncodedData(IScpEncodedData** object) {
  return NewObject<CScpEncodedData>(object);
}

}  // namespace ktx_com
