// Patient demographics between CPatientInfo and an IScpPatientInfo.
#include "automation/com_number.h"
#include "automation/object_transfer.h"
#include "automation/text_property.h"

namespace ktx_com {
HRESULT FillPatientObject(IScpPatientInfo* object, const CPatientInfo* record) {
  if (!object || !record) return E_FAIL;
  HRESULT hr = S_OK;
  // Height is kept in millimetres and weight in grams; the object speaks metres and kg.
  if (FAILED(hr = object->put_DayOfBirth(static_cast<short>(record->DayOfBirth)))) return hr;
  if (FAILED(hr = object->put_MonthOfBirth(static_cast<short>(record->MonthOfBirth)))) return hr;
  if (FAILED(hr = object->put_YearOfBirth(static_cast<short>(record->YearOfBirth)))) return hr;
  if (FAILED(hr = object->put_Gender(static_cast<int8_t>(record->Gender)))) return hr;
  if (FAILED(hr = object->put_Height(static_cast<int16_t>(record->Height) / 1000.0))) return hr;
  if (FAILED(hr = object->put_Weight(static_cast<int32_t>(record->Weight) / 1000.0))) return hr;
  if (FAILED(hr = object->put_FirstName(record->FirstName))) return hr;
  if (FAILED(hr = object->put_LastName(record->LastName))) return hr;
  return object->put_PatientId(record->PatientId);
}

HRESULT FillPatientRecord(IScpPatientInfo* object, CPatientInfo* record) {
  if (!object || !record) return E_FAIL;
  HRESULT hr = S_OK;
  short number = 0;
  if (FAILED(hr = object->get_DayOfBirth(&number))) return hr;
  record->DayOfBirth = static_cast<uint16_t>(number);
  if (FAILED(hr = object->get_MonthOfBirth(&number))) return hr;
  record->MonthOfBirth = static_cast<uint16_t>(number);
  if (FAILED(hr = object->get_YearOfBirth(&number))) return hr;
  record->YearOfBirth = static_cast<uint16_t>(number);
  if (FAILED(hr = object->get_Gender(&number))) return hr;
  record->Gender = static_cast<uint8_t>(number & 0xFF);
  double value = 0.0;
  if (FAILED(hr = object->get_Height(&value))) return hr;
  record->Height = Low16(value * 1000.0);
  if (FAILED(hr = object->get_Weight(&value))) return hr;
  record->Weight = Low32(value * 1000.0);
  BSTR text = nullptr;
  hr = object->get_FirstName(&text);
  if (FAILED(hr = TakeText(hr, text, &record->FirstName))) return hr;
  text = nullptr;
  hr = object->get_LastName(&text);
  if (FAILED(hr = TakeText(hr, text, &record->LastName))) return hr;
  text = nullptr;
  hr = object->get_PatientId(&text);
  return TakeText(hr, text, &record->PatientId);
}

}  // namespace ktx_com
