// Patient demographics of a recording (Section 1).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/text.h"
#include "record/codes.h"

class KTX_API CPatientInfo {
 public:
  CPatientInfo();
  CPatientInfo(const CPatientInfo* source);
  CPatientInfo(const CPatientInfo& source);  // duplicates the strings, as Set does
  CPatientInfo& operator=(const CPatientInfo& source);
  virtual ~CPatientInfo();

  void SetDefault();
  void Set(const CPatientInfo* source);
  int32_t GetVersion() const { return Version; }

  uint32_t Size = 0;
  int32_t Version = 0;
  uint8_t Gender = 0;  // 0 unknown, 1 male, 2 female, 9 unspecified
  uint16_t YearOfBirth = 0;
  uint16_t MonthOfBirth = 0;
  uint16_t DayOfBirth = 0;
  uint16_t Height = 0;  // mm
  uint32_t Weight = 0;  // g
  plat::Bstr PatientId = nullptr;
  plat::Bstr LastName = nullptr;
  plat::Bstr FirstName = nullptr;
};
