// The numbers the SCP-ECG format gives meaning to, named once for every layer: section
// numbers and the masks built from them, Section 1 tags, lead codes, sex codes and the
// rhythm values that mark lead errors.
#pragma once

#include <cstdint>

// Section mask: bit 1 << n stands for Section n.
enum : uint16_t {
  kSection0 = 1 << 0,
  kSection1 = 1 << 1,
  kSection3 = 1 << 3,
  kSection4 = 1 << 4,
  kSection5 = 1 << 5,
  kSection6 = 1 << 6,
  kSection7 = 1 << 7,
  kSection9 = 1 << 9,
  kSection10 = 1 << 10,
  kAllSections = (1 << 15) - 1,
  // What an analysis writes: QRS locations, reference beats, global measurements,
  // statements and per-lead measurements.
  kAnalysisSections = kSection4 | kSection5 | kSection7 | kSection9 | kSection10,
};

constexpr uint16_t SectionMask(uint16_t id) {
  return static_cast<uint16_t>(id < 16 ? 1u << id : 0u);
}

constexpr bool IsAnalysisSection(uint16_t id) {
  return (SectionMask(id) & kAnalysisSections) != 0;
}

// Section 1: each tag is its number (u8) and data length (u16), then the data.
constexpr uint32_t kTagHeaderBytes = 3;

// Numbered on from the last explicit value, as the format numbers them.
enum Section1Tag : uint8_t {
  kTagLastName = 0,
  kTagFirstName,
  kTagPatientId,
  kTagSecondLastName,
  kTagAge,
  kTagDateOfBirth,
  kTagHeight,
  kTagWeight,
  kTagSex,
  kTagAcquiringDevice = 14,
  kTagOverreadingPhysician = 21,
  kTagDateOfAcquisition = 25,
  kTagTimeOfAcquisition,
  kTagBaselineFilter,
  kTagLowPassFilter,
  kTagFilterBitMap,
  kTagLeadErrors = 200,
  kTagInterpretationText,
  kTagComment,
  kTagReceived,
  kTagConfirmed,
  kTagRecordingId,
  kTagWeightGrams,
  kTagHeightMm,
  kTagModifierApp,
  kTagModifierVersion,
  kTagCreatorApp,
  kTagCreatorVersion,
  kTagFiltersInForce,
  kTagInterpretationPhysician,
  kTagRecordingPhysician,
  kTagRecordingLocation,
  kTagInterpretationApp,
  kTagInterpretationVersion,
  kTagRecordingApp,
  kTagRecordingVersion,
  kTagTerminator = 255,
};

// Tags 200-219 are each manufacturer's own: this system's meaning only in its own records.
constexpr uint8_t kFirstMakerTag = 200;
constexpr uint8_t kLastMakerTag = 219;

// Lead codes of Section 3 (the ones the library computes with).
enum ScpLeadCode : uint8_t {
  kLeadI = 1,
  kLeadII,
  kLeadV1,
  kLeadV2,
  kLeadV3,
  kLeadV4,
  kLeadV5,
  kLeadV6,
  kLeadIII = 61,
  kLeadAVR,
  kLeadAVL,
  kLeadAVF,
};

// Sex (tag 8).
enum ScpSexCode : uint8_t {
  kSexUnknown = 0,
  kSexMale,
  kSexFemale,
  kSexUnspecified = 9,
};

// Rhythm values that are no signal but mark a lead error: 2032 + n sets error bit n.
constexpr int16_t kMarkerErrorBit0 = 2032;
constexpr int16_t kMarkerErrorBit1 = 2033;
constexpr int16_t kMarkerErrorBit2 = 2034;

constexpr bool IsLeadErrorMarker(long sample) {
  return sample >= kMarkerErrorBit0 && sample <= kMarkerErrorBit2;
}
