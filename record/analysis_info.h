// Results of an analysis: global measurements (Section 7) and statement codes (Section 9).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "record/global_measurements.h"

class KTX_API CAnalysisInfo {
 public:
  static constexpr int kMaxMorphologyCodes = 7;
  static constexpr int kMaxRhythmCodes = 3;

  CAnalysisInfo();
  CAnalysisInfo(const CAnalysisInfo* source);
  CAnalysisInfo(const CAnalysisInfo& source);
  CAnalysisInfo& operator=(const CAnalysisInfo& source);
  virtual ~CAnalysisInfo();

  // Resets the counts; the code arrays keep their stale values.
  void SetDefault();
  void Set(const CAnalysisInfo* source);
  int32_t GetVersion() const { return Version; }

  uint32_t Size = 0;
  int32_t Version = 0;
  SGlobalMeasurements Measurements;
  uint16_t MorphologyCode[kMaxMorphologyCodes] = {};
  uint16_t MorphologyCodes = 0;
  uint16_t RhythmCode[kMaxRhythmCodes] = {};
  uint16_t RhythmCodes = 0;
};
