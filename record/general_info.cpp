#include "record/general_info.h"

#include "record/string_field.h"

plat::Bstr CGeneralInfo::*const CGeneralInfo::kStrings[15] = {
    &CGeneralInfo::InterpretationText,   &CGeneralInfo::CommentText,
    &CGeneralInfo::OverreadingPhysician, &CGeneralInfo::InterpretationPhysician,
    &CGeneralInfo::RecordingPhysician,   &CGeneralInfo::RecordingLocation,
    &CGeneralInfo::RecordingId,          &CGeneralInfo::InterpretationVer,
    &CGeneralInfo::InterpretationApp,    &CGeneralInfo::RecordingApp,
    &CGeneralInfo::RecordingVer,         &CGeneralInfo::CreatorApp,
    &CGeneralInfo::CreatorVer,           &CGeneralInfo::ModifierApp,
    &CGeneralInfo::ModifierVer,
};

CGeneralInfo::CGeneralInfo() {
  SetDefault();
}

CGeneralInfo::CGeneralInfo(const CGeneralInfo* source) {
  SetDefault();
  Set(source);
}

CGeneralInfo::CGeneralInfo(const CGeneralInfo& source) : CGeneralInfo(&source) {}

CGeneralInfo& CGeneralInfo::operator=(const CGeneralInfo& source) {
  if (this != &source) Set(&source);
  return *this;
}

CGeneralInfo::~CGeneralInfo() {
  SetDefault();
}

void CGeneralInfo::SetDefault() {
  Size = sizeof(CGeneralInfo);
  Version = 1;
  Received = SDateTime{};
  InterpretationConfirmed = InterpretationModified = 0;
  for (plat::Bstr CGeneralInfo::*field : kStrings) FreeString(&(this->*field));
}

void CGeneralInfo::Set(const CGeneralInfo* source) {
  if (source == nullptr || source == this) return;
  SetDefault();
  if (source->Version < 1) {
    Version = 0;
    return;
  }
  Received = source->Received;
  InterpretationConfirmed = source->InterpretationConfirmed;
  InterpretationModified = source->InterpretationModified;
  for (plat::Bstr CGeneralInfo::*field : kStrings) CopyString(&(this->*field), source->*field);
  Version = 1;
}
