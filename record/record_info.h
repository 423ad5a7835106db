// Acquisition data of a recording: date, time, device and filters (Section 1).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/text.h"

// Filter bit maps (FilterFlags, DataFilterFlags): bits 0-1 the power-line filter
// (0 none, 1 60 Hz, 2 50 Hz), bit 2 the muscle filter, bit 3 the baseline filter.
enum : uint8_t {
  kFilterPowerMask = 0x03,
  kFilterPower60Hz = 0x01,
  kFilterPower50Hz = 0x02,
  kFilterMuscle = 0x04,
  kFilterBaseline = 0x08,
};

class KTX_API CRecordInfo {
 public:
  CRecordInfo();
  CRecordInfo(const CRecordInfo* source);
  CRecordInfo(const CRecordInfo& source);
  CRecordInfo& operator=(const CRecordInfo& source);
  virtual ~CRecordInfo();

  void SetDefault();
  void Set(const CRecordInfo* source);
  int32_t GetVersion() const { return Version; }

  uint32_t Size = 0;
  int32_t Version = 0;
  uint16_t AcquisitionYear = 0;
  uint16_t AcquisitionMonth = 0;
  uint16_t AcquisitionDay = 0;
  uint16_t AcquisitionHour = 0;
  uint16_t AcquisitionMinute = 0;
  uint16_t AcquisitionSecond = 0;
  uint16_t HighPassCutoff = 0;  // 1/100 Hz
  uint16_t LowPassCutoff = 0;   // Hz
  uint16_t DeviceID = 0;
  plat::Bstr SerialNumber = nullptr;
  plat::Bstr DeviceType = nullptr;
  plat::Bstr ProgramRevision = nullptr;
  uint8_t FilterFlags = 0;      // in force at acquisition
  uint8_t DataFilterFlags = 0;  // applied to the stored samples
};
