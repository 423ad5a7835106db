// General data of a record from CGeneralInfo into an IScpGeneralInfo.
#include "automation/object_transfer.h"

namespace ktx_com {

HRESULT FillGeneralObject(IScpGeneralInfo* object, const CGeneralInfo* record) {
  if (!object || !record) return E_FAIL;
  const CGeneralInfo& r = *record;
  using Object = IScpGeneralInfo;
  HRESULT hr = S_OK;
  if (FAILED(hr = object->put_InterpretationConfirmed(r.InterpretationConfirmed ? 1 : 0)))
    return hr;
  if (FAILED(hr = object->put_InterpretationModified(r.InterpretationModified ? 1 : 0))) return hr;
  const struct {
    HRESULT (STDMETHODCALLTYPE Object::*put)(short);
    uint16_t value;
  } numbers[] = {
      {&Object::put_ReceivedDay, r.Received.Day},
      {&Object::put_ReceivedHour, r.Received.Hour},
      {&Object::put_ReceivedMinute, r.Received.Minute},
      {&Object::put_ReceivedMonth, r.Received.Month},
      {&Object::put_ReceivedSecond, r.Received.Second},
      {&Object::put_ReceivedYear, r.Received.Year},
  };
  for (const auto& number : numbers) {
    if (FAILED(hr = (object->*number.put)(static_cast<short>(number.value)))) return hr;
  }
  const struct {
    HRESULT (STDMETHODCALLTYPE Object::*put)(BSTR);
    BSTR value;
  } texts[] = {
      {&Object::put_CommentText, r.CommentText},
      {&Object::put_CreatorApp, r.CreatorApp},
      {&Object::put_CreatorVer, r.CreatorVer},
      {&Object::put_InterpretationText, r.InterpretationText},
      {&Object::put_InterpretationPhysician, r.InterpretationPhysician},
      {&Object::put_RecordingLocation, r.RecordingLocation},
      {&Object::put_ModifierApp, r.ModifierApp},
      {&Object::put_ModifierVer, r.ModifierVer},
      {&Object::put_OverreadingPhysician, r.OverreadingPhysician},
      {&Object::put_RecordingPhysician, r.RecordingPhysician},
      {&Object::put_RecordingId, r.RecordingId},
      {&Object::put_InterpretationVer, r.InterpretationVer},
      {&Object::put_InterpretationApp, r.InterpretationApp},
      {&Object::put_RecordingApp, r.RecordingApp},
      {&Object::put_RecordingVer, r.RecordingVer},
  };
  for (const auto& text : texts) {
    if (FAILED(hr = (object->*text.put)(text.value))) return hr;
  }
  return S_OK;
}

}  // namespace ktx_com
