// General data of a record: received date, interpretation, comment, physicians,
// location, identification and the applications that made and changed it (Section 1).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/text.h"

// Laid out as the data of Section 1 tag 203.
struct SDateTime {
  uint16_t Year;
  uint16_t Month;
  uint16_t Day;
  uint16_t Hour;
  uint16_t Minute;
  uint16_t Second;
};
static_assert(sizeof(SDateTime) == 12, "received date and time is 12 bytes");

class KTX_API CGeneralInfo {
 public:
  CGeneralInfo();
  CGeneralInfo(const CGeneralInfo* source);
  CGeneralInfo(const CGeneralInfo& source);
  CGeneralInfo& operator=(const CGeneralInfo& source);
  virtual ~CGeneralInfo();

  void SetDefault();
  void Set(const CGeneralInfo* source);
  int32_t GetVersion() const { return Version; }

  uint32_t Size = 0;
  int32_t Version = 0;
  SDateTime Received = {};
  uint8_t InterpretationConfirmed = 0;
  uint8_t InterpretationModified = 0;
  plat::Bstr InterpretationText = nullptr;
  plat::Bstr CommentText = nullptr;
  plat::Bstr OverreadingPhysician = nullptr;
  plat::Bstr InterpretationPhysician = nullptr;
  plat::Bstr RecordingPhysician = nullptr;
  plat::Bstr RecordingLocation = nullptr;
  plat::Bstr RecordingId = nullptr;
  plat::Bstr InterpretationVer = nullptr;
  plat::Bstr InterpretationApp = nullptr;
  plat::Bstr RecordingApp = nullptr;
  plat::Bstr RecordingVer = nullptr;
  plat::Bstr CreatorApp = nullptr;
  plat::Bstr CreatorVer = nullptr;
  plat::Bstr ModifierApp = nullptr;
  plat::Bstr ModifierVer = nullptr;

 private:
  // The string fields in order, for freeing and copying them alike.
  static plat::Bstr CGeneralInfo::*const kStrings[15];
};
