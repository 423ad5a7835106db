// ScpRecordingInfo: acquisition date, device and filter settings of a recording.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"

namespace ktx_com {

class CScpRecordingInfo : public CComObject<IScpRecordingInfo> {
 public:
  explicit CScpRecordingInfo(IUnknown* outer) : CComObject(outer) {}
  ~CScpRecordingInfo() override;

  KTX_DECLARE_PROPERTY(SerialNumber, BSTR)
  KTX_DECLARE_PROPERTY(DeviceType, BSTR)
  KTX_DECLARE_PROPERTY(FilterMuscleData, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(FilterBaselineData, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(FilterPowerData, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(FilterMuscle, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(FilterBaseline, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(FilterPower, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(FilterMuscleCutoff, double)
  KTX_DECLARE_PROPERTY(FilterBaselineCutoff, double)
  KTX_DECLARE_PROPERTY(DeviceID, short)
  KTX_DECLARE_PROPERTY(ProgramRevision, BSTR)
  KTX_DECLARE_PROPERTY(FilterPowerCutoff, double)
  KTX_DECLARE_DATE_PROPERTIES(Acquisition)

 private:
  BSTR device_type_ = nullptr;
  BSTR serial_number_ = nullptr;
  BSTR program_revision_ = nullptr;
  SDateParts acquired_ = {};
  short device_id_ = 0;
  // Each filter is either applied to the stored data or was in force at acquisition.
  VARIANT_BOOL muscle_data_ = 0, baseline_data_ = 0, power_data_ = 0;
  VARIANT_BOOL muscle_ = 0, baseline_ = 0, power_ = 0;
  double baseline_cutoff_ = 0.05;
  double muscle_cutoff_ = 35.0;
  double power_cutoff_ = 50.0;
};

}  // namespace ktx_com
