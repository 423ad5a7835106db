#include "record/record_info.h"

#include "record/string_field.h"

CRecordInfo::CRecordInfo() {
  SetDefault();
}

CRecordInfo::CRecordInfo(const CRecordInfo* source) {
  SetDefault();
  Set(source);
}

CRecordInfo::CRecordInfo(const CRecordInfo& source) : CRecordInfo(&source) {}

CRecordInfo& CRecordInfo::operator=(const CRecordInfo& source) {
  if (this != &source) Set(&source);
  return *this;
}

CRecordInfo::~CRecordInfo() {
  SetDefault();
}

void CRecordInfo::SetDefault() {
  Size = sizeof(CRecordInfo);
  Version = 1;
  AcquisitionYear = AcquisitionMonth = AcquisitionDay = 0;
  AcquisitionHour = AcquisitionMinute = AcquisitionSecond = 0;
  HighPassCutoff = LowPassCutoff = 0;
  DeviceID = 0;
  FreeString(&SerialNumber);
  FreeString(&DeviceType);
  FreeString(&ProgramRevision);
  FilterFlags = DataFilterFlags = 0;
}

void CRecordInfo::Set(const CRecordInfo* source) {
  if (source == nullptr || source == this) return;
  SetDefault();
  if (source->Version < 1) {
    Version = 0;
    return;
  }
  AcquisitionYear = source->AcquisitionYear;
  AcquisitionMonth = source->AcquisitionMonth;
  AcquisitionDay = source->AcquisitionDay;
  AcquisitionHour = source->AcquisitionHour;
  AcquisitionMinute = source->AcquisitionMinute;
  AcquisitionSecond = source->AcquisitionSecond;
  HighPassCutoff = source->HighPassCutoff;
  LowPassCutoff = source->LowPassCutoff;
  DeviceID = source->DeviceID;
  CopyString(&SerialNumber, source->SerialNumber);
  CopyString(&DeviceType, source->DeviceType);
  CopyString(&ProgramRevision, source->ProgramRevision);
  FilterFlags = source->FilterFlags;
  DataFilterFlags = source->DataFilterFlags;
  Version = 1;
}
