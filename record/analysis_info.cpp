#include "record/analysis_info.h"

#include <cstring>

CAnalysisInfo::CAnalysisInfo() {
  SetDefault();
}

CAnalysisInfo::CAnalysisInfo(const CAnalysisInfo* source) {
  SetDefault();
  Set(source);
}

CAnalysisInfo::CAnalysisInfo(const CAnalysisInfo& source) : CAnalysisInfo(&source) {}

CAnalysisInfo& CAnalysisInfo::operator=(const CAnalysisInfo& source) {
  if (this != &source) Set(&source);
  return *this;
}

CAnalysisInfo::~CAnalysisInfo() {
  SetDefault();
}

void CAnalysisInfo::SetDefault() {
  Size = sizeof(CAnalysisInfo);
  Version = 1;
  Measurements.KillData();
  MorphologyCodes = 0;
  RhythmCodes = 0;
}

void CAnalysisInfo::Set(const CAnalysisInfo* source) {
  if (source == nullptr || source == this) return;
  SetDefault();
  if (source->Version < 1) {
    Version = 0;
    return;
  }
  Measurements = source->Measurements;
  std::memcpy(MorphologyCode, source->MorphologyCode, sizeof(MorphologyCode));
  MorphologyCodes = source->MorphologyCodes;
  std::memcpy(RhythmCode, source->RhythmCode, sizeof(RhythmCode));
  RhythmCodes = source->RhythmCodes;
  Version = 1;
}
