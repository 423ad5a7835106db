// ScpPatientInfo: the patient demographics a client hands to or gets from the module.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"

namespace ktx_com {

class CScpPatientInfo : public CComObject<IScpPatientInfo> {
 public:
  explicit CScpPatientInfo(IUnknown* outer) : CComObject(outer) {}
  ~CScpPatientInfo() override;

  HRESULT STDMETHODCALLTYPE get_DayOfBirth(short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_DayOfBirth(short value) override;
  HRESULT STDMETHODCALLTYPE get_MonthOfBirth(short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_MonthOfBirth(short value) override;
  HRESULT STDMETHODCALLTYPE get_YearOfBirth(short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_YearOfBirth(short value) override;
  HRESULT STDMETHODCALLTYPE get_Gender(short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_Gender(short value) override;
  HRESULT STDMETHODCALLTYPE get_Height(double* pVal) override;
  HRESULT STDMETHODCALLTYPE put_Height(double value) override;
  HRESULT STDMETHODCALLTYPE get_Weight(double* pVal) override;
  HRESULT STDMETHODCALLTYPE put_Weight(double value) override;
  HRESULT STDMETHODCALLTYPE get_PatientId(BSTR* pVal) override;
  HRESULT STDMETHODCALLTYPE put_PatientId(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_LastName(BSTR* pVal) override;
  HRESULT STDMETHODCALLTYPE put_LastName(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_FirstName(BSTR* pVal) override;
  HRESULT STDMETHODCALLTYPE put_FirstName(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_BirthDate(DATE* pVal) override;
  HRESULT STDMETHODCALLTYPE put_BirthDate(DATE value) override;

 private:
  BSTR first_name_ = nullptr;
  BSTR last_name_ = nullptr;
  BSTR patient_id_ = nullptr;
  double weight_ = 0.0;
  double height_ = 0.0;
  short gender_ = 0;
  short year_ = 0;
  short month_ = 0;
  short day_ = 0;
};

}  // namespace ktx_com
