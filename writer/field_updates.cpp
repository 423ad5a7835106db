// Single header fields of an existing file, each through the one editing cycle.
#include "platform/errors.h"
#include "record/string_field.h"
#include "writer/writer.h"

namespace {

// Replaces *field by a copy of `text` (up to its terminator); null clears it.
bool ReplaceText(plat::Bstr* field, const plat::OleChar* text) {
  FreeString(field);
  if (text == nullptr) return true;
  *field = plat::SysAllocString(text);
  return *field != nullptr || plat::FailWith(plat::kErrOutOfMemory);
}

void SetBits(uint8_t* flags, uint8_t bits, bool on) {
  *flags = static_cast<uint8_t>(on ? (*flags | bits) : (*flags & ~bits));
}

}  // namespace

bool CWriter::UpdateFile(const char* name, const CPatientInfo* patient,
                         const CRecordInfo* recording) {
  return Rewrite(name, 0, [&] {
    if (patient != nullptr) Patient.Set(patient);
    if (recording != nullptr) Recording.Set(recording);
    return true;
  });
}

bool CWriter::UpdateInterpretationText(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] {
    General.InterpretationModified = 1;
    return ReplaceText(&General.InterpretationText, text);
  });
}

bool CWriter::UpdateCommentText(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.CommentText, text); });
}

bool CWriter::UpdateRecordingLocation(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.RecordingLocation, text); });
}

bool CWriter::UpdateRecordingId(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.RecordingId, text); });
}

bool CWriter::UpdateReceived(const char* name, const SDateTime* received) {
  if (received == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  return Rewrite(name, 0, [&] {
    General.Received = *received;
    return true;
  });
}

bool CWriter::UpdateInterpretationConfirmed(const char* name, int16_t confirmed) {
  return Rewrite(name, 0, [&] {
    General.InterpretationConfirmed = confirmed != 0 ? 1 : 0;
    return true;
  });
}

bool CWriter::UpdatePhysicianName(const char* name, int16_t which, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] {
    switch (which) {
      case 0:
        return ReplaceText(&General.OverreadingPhysician, text);
      case 1:
        return ReplaceText(&General.InterpretationPhysician, text);
      case 2:
        return ReplaceText(&General.RecordingPhysician, text);
      default:
        return plat::FailWith(plat::kErrInvalidParameter);
    }
  });
}

bool CWriter::UpdateRecordingApp(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.RecordingApp, text); });
}

bool CWriter::UpdateRecordingVer(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.RecordingVer, text); });
}

bool CWriter::UpdateInterpretationApp(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.InterpretationApp, text); });
}

bool CWriter::UpdateInterpretationVer(const char* name, const plat::OleChar* text) {
  return Rewrite(name, 0, [&] { return ReplaceText(&General.InterpretationVer, text); });
}

bool CWriter::UpdateMuscleFilter(const char* name, int16_t used) {
  return Rewrite(name, 0, [&] {
    SetBits(&Recording.FilterFlags, kFilterMuscle, used != 0);
    return true;
  });
}

bool CWriter::UpdateBaselineFilter(const char* name, int16_t used) {
  return Rewrite(name, 0, [&] {
    SetBits(&Recording.FilterFlags, kFilterBaseline, used != 0);
    return true;
  });
}

bool CWriter::UpdatePowerFilter(const char* name, int16_t hertz) {
  return Rewrite(name, 0, [&] {
    SetBits(&Recording.FilterFlags, kFilterPowerMask, false);
    if (hertz == 50) SetBits(&Recording.FilterFlags, kFilterPower50Hz, true);
    if (hertz == 60) SetBits(&Recording.FilterFlags, kFilterPower60Hz, true);
    return true;
  });
}
