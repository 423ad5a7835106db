#include "automation/scp_patient_info.h"

namespace ktx_com {

CScpPatientInfo::~CScpPatientInfo() {
  SysFreeString(first_name_);
  SysFreeString(last_name_);
  SysFreeString(patient_id_);
}

KTX_PLAIN_PROPERTY(CScpPatientInfo, DayOfBirth, short, birth_.Day)
KTX_PLAIN_PROPERTY(CScpPatientInfo, MonthOfBirth, short, birth_.Month)
KTX_PLAIN_PROPERTY(CScpPatientInfo, YearOfBirth, short, birth_.Year)
KTX_PLAIN_PROPERTY(CScpPatientInfo, Gender, short, gender_)
KTX_PLAIN_PROPERTY(CScpPatientInfo, Height, double, height_)
KTX_PLAIN_PROPERTY(CScpPatientInfo, Weight, double, weight_)
KTX_TEXT_PROPERTY(CScpPatientInfo, PatientId, patient_id_)
KTX_TEXT_PROPERTY(CScpPatientInfo, LastName, last_name_)
KTX_DATE_PROPERTY(CScpPatientInfo, BirthDate, birth_, DayOnly)

HRESULT CScpPatientInfo::get_FirstName(BSTR* pVal) {
  // This get has always answered E_FAIL when the copy cannot be made.
  const HRESULT hr = GetText(first_name_, pVal);
  return hr == E_OUTOFMEMORY ? E_FAIL : hr;
}
HRESULT CScpPatientInfo::put_FirstName(BSTR value) {
  return PutText(&first_name_, value);
}

}  // namespace ktx_com
