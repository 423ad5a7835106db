// The header records' text fields by the Section 1 tag that carries them: one list that
// the parse reads into and the build writes from.
#pragma once

#include <cstdint>

#include "platform/text.h"
#include "record/codes.h"
#include "record/general_info.h"
#include "record/patient_info.h"

template <typename Record>
struct STextTag {
  uint8_t Tag;
  plat::Bstr Record::*Field;
};

inline constexpr STextTag<CPatientInfo> kPatientTextTags[] = {
    {kTagLastName, &CPatientInfo::LastName},
    {kTagFirstName, &CPatientInfo::FirstName},
    {kTagPatientId, &CPatientInfo::PatientId},
};

inline constexpr STextTag<CGeneralInfo> kGeneralTextTags[] = {
    {kTagOverreadingPhysician, &CGeneralInfo::OverreadingPhysician},
    {kTagInterpretationText, &CGeneralInfo::InterpretationText},
    {kTagComment, &CGeneralInfo::CommentText},
    {kTagRecordingId, &CGeneralInfo::RecordingId},
    {kTagModifierApp, &CGeneralInfo::ModifierApp},
    {kTagModifierVersion, &CGeneralInfo::ModifierVer},
    {kTagCreatorApp, &CGeneralInfo::CreatorApp},
    {kTagCreatorVersion, &CGeneralInfo::CreatorVer},
    {kTagInterpretationPhysician, &CGeneralInfo::InterpretationPhysician},
    {kTagRecordingPhysician, &CGeneralInfo::RecordingPhysician},
    {kTagRecordingLocation, &CGeneralInfo::RecordingLocation},
    {kTagInterpretationApp, &CGeneralInfo::InterpretationApp},
    {kTagInterpretationVersion, &CGeneralInfo::InterpretationVer},
    {kTagRecordingApp, &CGeneralInfo::RecordingApp},
    {kTagRecordingVersion, &CGeneralInfo::RecordingVer},
};

// The field `tag` carries in `table`; null when it carries none there.
template <typename Record, size_t N>
constexpr plat::Bstr Record::*TextFieldOf(const STextTag<Record> (&table)[N], uint8_t tag) {
  for (const STextTag<Record>& entry : table) {
    if (entry.Tag == tag) return entry.Field;
  }
  return nullptr;
}
