#include "automation/scp_recording_info.h"

namespace ktx_com {

CScpRecordingInfo::~CScpRecordingInfo() {
  SysFreeString(device_type_);
  SysFreeString(serial_number_);
  SysFreeString(program_revision_);
}

KTX_DATE_PROPERTIES(CScpRecordingInfo, Acquisition, acquired_)
KTX_PLAIN_PROPERTY(CScpRecordingInfo, DeviceID, short, device_id_)
KTX_PLAIN_PROPERTY(CScpRecordingInfo, FilterMuscleCutoff, double, muscle_cutoff_)
KTX_PLAIN_PROPERTY(CScpRecordingInfo, FilterBaselineCutoff, double, baseline_cutoff_)
KTX_PLAIN_PROPERTY(CScpRecordingInfo, FilterPowerCutoff, double, power_cutoff_)
KTX_TEXT_PROPERTY(CScpRecordingInfo, SerialNumber, serial_number_)
KTX_TEXT_PROPERTY(CScpRecordingInfo, DeviceType, device_type_)
KTX_TEXT_PROPERTY(CScpRecordingInfo, ProgramRevision, program_revision_)

// A filter switched on in one form is switched off in the other; switching one form off
// leaves the other alone.
#define KTX_FILTER_PROPERTY(Name, member, other)                  \
  KTX_GET_PROPERTY(CScpRecordingInfo, Name, VARIANT_BOOL, member) \
  HRESULT CScpRecordingInfo::put_##Name(VARIANT_BOOL value) {     \
    member = value;                                               \
    if (value != 0) other = 0;                                    \
    return S_OK;                                                  \
  }
KTX_FILTER_PROPERTY(FilterMuscleData, muscle_data_, muscle_)
KTX_FILTER_PROPERTY(FilterMuscle, muscle_, muscle_data_)
KTX_FILTER_PROPERTY(FilterBaselineData, baseline_data_, baseline_)
KTX_FILTER_PROPERTY(FilterBaseline, baseline_, baseline_data_)
KTX_FILTER_PROPERTY(FilterPowerData, power_data_, power_)
KTX_FILTER_PROPERTY(FilterPower, power_, power_data_)
#undef KTX_FILTER_PROPERTY

}  // namespace ktx_com
