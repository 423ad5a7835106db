// Acquisition data between CRecordInfo and an IScpRecordingInfo.
#include "automation/com_number.h"
#include "automation/object_transfer.h"
#include "automation/text_property.h"

namespace ktx_com {
namespace {

VARIANT_BOOL Bit(uint8_t flags, uint8_t mask) {
  return (flags & mask) ? 1 : 0;
}

void SetBit(uint8_t* flags, uint8_t mask, bool on) {
  *flags = static_cast<uint8_t>(on ? (*flags | mask) : (*flags & ~mask));
}

// The power-line bits: 2 for a 50 Hz filter, 1 for 60 Hz, 0 for none or another cutoff.
void SetPowerBits(uint8_t* flags, bool on, int64_t cutoff) {
  uint8_t bits = 0;
  if (on && cutoff == 50) bits = kFilterPower50Hz;
  if (on && cutoff == 60) bits = kFilterPower60Hz;
  *flags = static_cast<uint8_t>((*flags & ~kFilterPowerMask) | bits);
}

}  // namespace

HRESULT FillRecordingObject(IScpRecordingInfo* object, const CRecordInfo* record) {
  if (!object || !record) return E_FAIL;
  const CRecordInfo& r = *record;
  // A 50 Hz filter is named in the applied map; otherwise any 60 Hz bit says 60 Hz.
  double powerCutoff = 50.0;
  if (!(r.DataFilterFlags & kFilterPower50Hz) &&
      ((r.DataFilterFlags | r.FilterFlags) & kFilterPower60Hz))
    powerCutoff = 60.0;
  HRESULT hr = S_OK;
  if (FAILED(hr = object->put_AcquisitionDay(static_cast<short>(r.AcquisitionDay)))) return hr;
  if (FAILED(hr = object->put_AcquisitionMonth(static_cast<short>(r.AcquisitionMonth)))) return hr;
  if (FAILED(hr = object->put_AcquisitionYear(static_cast<short>(r.AcquisitionYear)))) return hr;
  if (FAILED(hr = object->put_AcquisitionHour(static_cast<short>(r.AcquisitionHour)))) return hr;
  if (FAILED(hr = object->put_AcquisitionMinute(static_cast<short>(r.AcquisitionMinute))))
    return hr;
  if (FAILED(hr = object->put_AcquisitionSecond(static_cast<short>(r.AcquisitionSecond))))
    return hr;
  if (FAILED(hr = object->put_FilterBaseline(Bit(r.FilterFlags, kFilterBaseline)))) return hr;
  if (FAILED(hr = object->put_FilterBaselineCutoff(r.HighPassCutoff / 100.0))) return hr;
  if (FAILED(hr = object->put_FilterBaselineData(Bit(r.DataFilterFlags, kFilterBaseline))))
    return hr;
  if (FAILED(hr = object->put_FilterMuscle(Bit(r.FilterFlags, kFilterMuscle)))) return hr;
  if (FAILED(hr = object->put_FilterMuscleCutoff(r.LowPassCutoff))) return hr;
  if (FAILED(hr = object->put_FilterMuscleData(Bit(r.DataFilterFlags, kFilterMuscle)))) return hr;
  if (FAILED(hr = object->put_FilterPower(Bit(r.FilterFlags, kFilterPowerMask)))) return hr;
  if (FAILED(hr = object->put_FilterPowerData(Bit(r.DataFilterFlags, kFilterPowerMask)))) return hr;
  if (FAILED(hr = object->put_FilterPowerCutoff(powerCutoff))) return hr;
  if (FAILED(hr = object->put_DeviceID(static_cast<short>(r.DeviceID)))) return hr;
  if (FAILED(hr = object->put_DeviceType(r.DeviceType))) return hr;
  if (FAILED(hr = object->put_SerialNumber(r.SerialNumber))) return hr;
  return object->put_ProgramRevision(r.ProgramRevision);
}

HRESULT FillRecordingRecord(IScpRecordingInfo* object, CRecordInfo* record) {
  if (!object || !record) return E_FAIL;
  CRecordInfo& r = *record;
  HRESULT hr = S_OK;
  short number = 0;
  const struct {
    HRESULT (STDMETHODCALLTYPE IScpRecordingInfo::*get)(short*);
    uint16_t CRecordInfo::*field;
  } dates[] = {
      {&IScpRecordingInfo::get_AcquisitionDay, &CRecordInfo::AcquisitionDay},
      {&IScpRecordingInfo::get_AcquisitionMonth, &CRecordInfo::AcquisitionMonth},
      {&IScpRecordingInfo::get_AcquisitionYear, &CRecordInfo::AcquisitionYear},
      {&IScpRecordingInfo::get_AcquisitionHour, &CRecordInfo::AcquisitionHour},
      {&IScpRecordingInfo::get_AcquisitionMinute, &CRecordInfo::AcquisitionMinute},
      {&IScpRecordingInfo::get_AcquisitionSecond, &CRecordInfo::AcquisitionSecond},
  };
  for (const auto& date : dates) {
    if (FAILED(hr = (object->*date.get)(&number))) return hr;
    r.*date.field = static_cast<uint16_t>(number);
  }
  double cutoff = 0.0;
  VARIANT_BOOL on = 0;
  if (FAILED(hr = object->get_FilterBaselineCutoff(&cutoff))) return hr;
  r.HighPassCutoff = Low16(cutoff * 100.0);
  if (FAILED(hr = object->get_FilterBaseline(&on))) return hr;
  SetBit(&r.FilterFlags, kFilterBaseline, on != 0);
  if (FAILED(hr = object->get_FilterBaselineData(&on))) return hr;
  SetBit(&r.DataFilterFlags, kFilterBaseline, on != 0);
  if (FAILED(hr = object->get_FilterMuscleCutoff(&cutoff))) return hr;
  r.LowPassCutoff = Low16(cutoff);
  if (FAILED(hr = object->get_FilterMuscle(&on))) return hr;
  SetBit(&r.FilterFlags, kFilterMuscle, on != 0);
  if (FAILED(hr = object->get_FilterMuscleData(&on))) return hr;
  SetBit(&r.DataFilterFlags, kFilterMuscle, on != 0);
  if (FAILED(hr = object->get_FilterPowerCutoff(&cutoff))) return hr;
  const int64_t powerCutoff = TruncateToInt64(cutoff);
  if (FAILED(hr = object->get_FilterPower(&on))) return hr;
  SetPowerBits(&r.FilterFlags, on != 0, powerCutoff);
  if (FAILED(hr = object->get_FilterPowerData(&on))) return hr;
  SetPowerBits(&r.DataFilterFlags, on != 0, powerCutoff);
  if (FAILED(hr = object->get_DeviceID(&number))) return hr;
  r.DeviceID = static_cast<uint16_t>(number);
  BSTR text = nullptr;
  hr = object->get_DeviceType(&text);
  if (FAILED(hr = TakeText(hr, text, &r.DeviceType))) return hr;
  text = nullptr;
  hr = object->get_SerialNumber(&text);
  if (FAILED(hr = TakeText(hr, text, &r.SerialNumber))) return hr;
  text = nullptr;
  hr = object->get_ProgramRevision(&text);
  return TakeText(hr, text, &r.ProgramRevision);
}

}  // namespace ktx_com
