#include "automation/scp_patient_info.h"

#include "automation/ole_date.h"
#include "automation/text_property.h"

namespace ktx_com {

CScpPatientInfo::~CScpPatientInfo() {
  SysFreeString(first_name_);
  SysFreeString(last_name_);
  SysFreeString(patient_id_);
}

#define KTX_PLAIN_PROPERTY(Name, Type, member)      \
  HRESULT CScpPatientInfo::get_##Name(Type* pVal) { \
    *pVal = member;                                 \
    return S_OK;                                    \
  }                                                 \
  HRESULT CScpPatientInfo::put_##Name(Type value) { \
    member = value;                                 \
    return S_OK;                                    \
  }
KTX_PLAIN_PROPERTY(DayOfBirth, short, day_)
KTX_PLAIN_PROPERTY(MonthOfBirth, short, month_)
KTX_PLAIN_PROPERTY(YearOfBirth, short, year_)
KTX_PLAIN_PROPERTY(Gender, short, gender_)
KTX_PLAIN_PROPERTY(Height, double, height_)
KTX_PLAIN_PROPERTY(Weight, double, weight_)
#undef KTX_PLAIN_PROPERTY

HRESULT CScpPatientInfo::get_PatientId(BSTR* pVal) {
  return GetText(patient_id_, pVal);
}
HRESULT CScpPatientInfo::put_PatientId(BSTR value) {
  return PutText(&patient_id_, value);
}
HRESULT CScpPatientInfo::get_LastName(BSTR* pVal) {
  return GetText(last_name_, pVal);
}
HRESULT CScpPatientInfo::put_LastName(BSTR value) {
  return PutText(&last_name_, value);
}
HRESULT CScpPatientInfo::get_FirstName(BSTR* pVal) {
  // This get has always answered E_FAIL when the copy cannot be made.
  return GetText(first_name_, pVal) == S_OK ? S_OK : E_FAIL;
}
HRESULT CScpPatientInfo::put_FirstName(BSTR value) {
  return PutText(&first_name_, value);
}

HRESULT CScpPatientInfo::get_BirthDate(DATE* pVal) {
  if (!pVal) return E_INVALIDARG;
  return ComposeDate({year_, month_, day_, 0, 0, 0}, pVal);
}

HRESULT CScpPatientInfo::put_BirthDate(DATE value) {
  const SDateParts parts = SplitDate(value);
  day_ = parts.Day;
  month_ = parts.Month;
  year_ = parts.Year;
  return S_OK;
}

}  // namespace ktx_com
