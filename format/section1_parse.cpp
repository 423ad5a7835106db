// Section 1: the tagged header fields, into the header records, the lead error table
// and the store of unknown tags.
#include "format/section1_parse.h"
#include "format/section1.h"
#include "platform/errors.h"
#include "platform/little_endian.h"
#include "record/string_field.h"

namespace {

constexpr uint32_t kSectionHeaderBytes = 16;

bool HandleTag(Section1Parse& parse, uint8_t tag, uint16_t length) {
  if (parse.ForeignTags && tag >= kFirstMakerTag && tag <= kLastMakerTag) {
    return HandleUnknownTag(parse, tag, length);
  }
  if (tag == kTagAcquiringDevice) return HandleDeviceTag(parse, length);
  if (IsTextTag(tag)) return HandleTextTag(parse, tag, length);
  return HandleOtherTag(parse, tag, length);
}

// Null and empty strings both mean no text, but callers get the names as strings.
void GiveEmptyString(plat::Bstr* field) {
  static const plat::OleChar kEmpty[1] = {0};
  if (*field == nullptr) *field = plat::SysAllocStringLen(kEmpty, 0);
}

// How far a parse bends for other makers' records; null: not at all.
struct STolerance {
  bool ManufacturerTagsOurs = true;
  bool* Terminated = nullptr;
};

bool Parse(plat::FileHandle file, const uint8_t* sectionHeader, CPatientInfo* patient,
           CRecordInfo* recording, SLeadErrors* errors, CGeneralInfo* general,
           SUnknownTags* unknown, uint8_t* requiredTags, const STolerance* tolerance) {
  if (sectionHeader == nullptr || file == plat::kClosedFile ||
      (patient == nullptr && recording == nullptr && errors == nullptr && general == nullptr)) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (patient != nullptr) patient->SetDefault();
  if (recording != nullptr) recording->SetDefault();
  if (general != nullptr) general->SetDefault();
  if (errors != nullptr) errors->KillData();
  if (unknown != nullptr) unknown->KillData();

  Section1Parse parse(file, sectionHeader);
  parse.Patient = patient;
  parse.Recording = recording;
  parse.Errors = errors;
  parse.General = general;
  parse.Unknown = unknown;
  parse.ForeignTags = tolerance != nullptr && !tolerance->ManufacturerTagsOurs;
  if (tolerance != nullptr) *tolerance->Terminated = true;
  bool deviceSeen = false;
  bool dateSeen = false;
  bool timeSeen = false;

  // A section that ends before its tag 255 fails on the next tag header (13).
  uint8_t tag = 0;
  do {
    // Some writers end the section without tag 255. (The length field bounds the parse
    // 16 bytes past the body; the body itself ends earlier.)
    if (tolerance != nullptr &&
        uint64_t{parse.Body.Consumed()} + kTagHeaderBytes + kSectionHeaderBytes >
            parse.Body.Length()) {
      *tolerance->Terminated = false;
      break;
    }
    uint8_t header[kTagHeaderBytes];
    if (!parse.Body.Read(header, kTagHeaderBytes)) return false;
    tag = header[0];
    const uint16_t length = plat::GetLE16(header + 1);
    if (!parse.Body.Fits(length)) return false;
    deviceSeen = deviceSeen || tag == kTagAcquiringDevice;
    dateSeen = dateSeen || tag == kTagDateOfAcquisition;
    timeSeen = timeSeen || tag == kTagTimeOfAcquisition;

    const uint32_t before = parse.Body.Consumed();
    if (!HandleTag(parse, tag, length)) return false;
    const uint32_t used = parse.Body.Consumed() - before;
    if (used < length && !parse.Body.Skip(length - used)) return false;
  } while (tag != kTagTerminator);

  if (patient != nullptr) {
    GiveEmptyString(&patient->LastName);
    GiveEmptyString(&patient->FirstName);
    GiveEmptyString(&patient->PatientId);
  }
  // Date, time and device belong together: without all three the recording is unknown.
  if (recording != nullptr && !(parse.DeviceRead && parse.DateRead && parse.TimeRead)) {
    recording->SetDefault();
  }
  if (errors != nullptr && !parse.ErrorsRead) errors->KillData();
  if (requiredTags != nullptr) *requiredTags = deviceSeen && dateSeen && timeSeen ? 1 : 0;
  return true;
}

}  // namespace

bool ParseSection1(plat::FileHandle file, const uint8_t* sectionHeader, CPatientInfo* patient,
                   CRecordInfo* recording, SLeadErrors* errors, CGeneralInfo* general,
                   SUnknownTags* unknown, uint8_t* requiredTags) {
  return Parse(file, sectionHeader, patient, recording, errors, general, unknown, requiredTags,
               nullptr);
}

bool ParseSection1Tolerant(plat::FileHandle file, const uint8_t* sectionHeader,
                           CPatientInfo* patient, CRecordInfo* recording, SLeadErrors* errors,
                           CGeneralInfo* general, SUnknownTags* unknown, uint8_t* requiredTags,
                           bool manufacturerTagsOurs, bool* terminated) {
  bool ended = true;
  const STolerance tolerance{manufacturerTagsOurs, terminated != nullptr ? terminated : &ended};
  return Parse(file, sectionHeader, patient, recording, errors, general, unknown, requiredTags,
               &tolerance);
}
