// ScpPatientInfo: the patient demographics a client hands to or gets from the module.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"

namespace ktx_com {

class CScpPatientInfo : public CComObject<IScpPatientInfo> {
 public:
  explicit CScpPatientInfo(IUnknown* outer) : CComObject(outer) {}
  ~CScpPatientInfo() override;

  KTX_DECLARE_PROPERTY(DayOfBirth, short)
  KTX_DECLARE_PROPERTY(MonthOfBirth, short)
  KTX_DECLARE_PROPERTY(YearOfBirth, short)
  KTX_DECLARE_PROPERTY(Gender, short)
  KTX_DECLARE_PROPERTY(Height, double)
  KTX_DECLARE_PROPERTY(Weight, double)
  KTX_DECLARE_PROPERTY(PatientId, BSTR)
  KTX_DECLARE_PROPERTY(LastName, BSTR)
  KTX_DECLARE_PROPERTY(FirstName, BSTR)
  KTX_DECLARE_PROPERTY(BirthDate, DATE)

 private:
  BSTR first_name_ = nullptr;
  BSTR last_name_ = nullptr;
  BSTR patient_id_ = nullptr;
  double weight_ = 0.0;
  double height_ = 0.0;
  short gender_ = 0;
  SDateParts birth_ = {};  // the time stays midnight
};

}  // namespace ktx_com
