#include "record/patient_info.h"

#include "record/string_field.h"

CPatientInfo::CPatientInfo() {
  SetDefault();
}

// A null source gives a default record.
CPatientInfo::CPatientInfo(const CPatientInfo* source) {
  SetDefault();
  Set(source);
}

CPatientInfo::CPatientInfo(const CPatientInfo& source) : CPatientInfo(&source) {}

CPatientInfo& CPatientInfo::operator=(const CPatientInfo& source) {
  if (this != &source) Set(&source);
  return *this;
}

CPatientInfo::~CPatientInfo() {
  SetDefault();
}

void CPatientInfo::SetDefault() {
  Size = sizeof(CPatientInfo);
  Version = 1;
  Gender = kSexUnknown;
  YearOfBirth = MonthOfBirth = DayOfBirth = 0;
  Height = 0;
  Weight = 0;
  FreeString(&PatientId);
  FreeString(&LastName);
  FreeString(&FirstName);
}

void CPatientInfo::Set(const CPatientInfo* source) {
  if (source == nullptr || source == this) return;
  SetDefault();
  if (source->Version < 1) {
    Version = 0;
    return;
  }
  Gender = source->Gender;
  YearOfBirth = source->YearOfBirth;
  MonthOfBirth = source->MonthOfBirth;
  DayOfBirth = source->DayOfBirth;
  Height = source->Height;
  Weight = source->Weight;
  CopyString(&PatientId, source->PatientId);
  CopyString(&LastName, source->LastName);
  CopyString(&FirstName, source->FirstName);
  Version = 1;
}
