// Section 1 tags other than text: numbers, dates, filters, lead errors, unknown tags.
#include <algorithm>

#include "format/section1_parse.h"
#include "platform/errors.h"
#include "platform/little_endian.h"

namespace {

constexpr uint32_t kLeadErrorBytes = 3;  // lead code u8, error bits u16
constexpr uint32_t kMaxNumberBytes = 12;

// Bytes a number tag needs, and whether its target was given; 0: not a number tag.
uint32_t NumberBytes(const Section1Parse& parse, uint8_t tag, bool* hasTarget) {
  *hasTarget = parse.Patient != nullptr;
  switch (tag) {
    case kTagDateOfBirth:
      return 4;       // date of birth
    case kTagHeight:  // height, unit
    case kTagWeight:  // weight, unit
      return 3;
    case kTagSex:
      return 1;  // sex
    case kTagWeightGrams:
      return 4;  // weight in grams
    case kTagHeightMm:
      return 2;  // height in millimetres
    default:
      break;
  }
  *hasTarget = parse.Recording != nullptr;
  switch (tag) {
    case kTagDateOfAcquisition:
      return 4;  // date of acquisition
    case kTagTimeOfAcquisition:
      return 3;               // time of acquisition
    case kTagBaselineFilter:  // baseline filter
    case kTagLowPassFilter:   // low-pass filter
      return 2;
    case kTagFilterBitMap:    // filter bit map of the stored samples
    case kTagFiltersInForce:  // filter bit map in force
      return 1;
    default:
      break;
  }
  *hasTarget = parse.General != nullptr;
  switch (tag) {
    case kTagReceived:
      return 12;  // date and time received
    case kTagConfirmed:
      return 1;  // interpretation confirmed
    default:
      return 0;
  }
}

// Values beyond 65535 mm wrap as they would in 16-bit arithmetic.
uint16_t HeightMm(uint16_t value, uint8_t unit) {
  switch (unit) {
    case 1:
      return static_cast<uint16_t>(value * 10u);
    case 2:
      return static_cast<uint16_t>(static_cast<uint32_t>(value * 25.4));
    case 3:
      return value;
    default:
      return 0;
  }
}

uint32_t WeightG(uint16_t value, uint8_t unit) {
  switch (unit) {
    case 1:
      return value * 1000u;
    case 2:
      return value;
    case 3:
      return static_cast<uint32_t>(value * 453.59237);
    case 4:
      return static_cast<uint32_t>(value * 28.349523);
    default:
      return 0;
  }
}

// The file's bits: 0 60 Hz notch, 1 50 Hz notch, 2 artefact, 3 baseline. Both notch
// bits set mean 50 Hz; the power-line filter is a number in the record.
uint8_t FilterFlags(uint8_t bits) {
  unsigned flags = 0;
  if (bits & 0x02) {
    flags = kFilterPower50Hz;
  } else if (bits & 0x01) {
    flags = kFilterPower60Hz;
  }
  if (bits & 0x08) flags |= kFilterBaseline;
  if (bits & 0x04) flags |= kFilterMuscle;
  return static_cast<uint8_t>(flags);
}

void StorePatient(CPatientInfo& patient, uint8_t tag, const uint8_t* data) {
  switch (tag) {
    case kTagDateOfBirth:
      patient.YearOfBirth = plat::GetLE16(data);
      patient.MonthOfBirth = data[2];
      patient.DayOfBirth = data[3];
      break;
    case kTagHeight:
      patient.Height = HeightMm(plat::GetLE16(data), data[2]);
      break;
    case kTagWeight:
      patient.Weight = WeightG(plat::GetLE16(data), data[2]);
      break;
    case kTagSex:
      patient.Gender = data[0];
      break;
    case kTagWeightGrams:
      patient.Weight = plat::GetLE32(data);
      break;
    case kTagHeightMm:
      patient.Height = plat::GetLE16(data);
      break;
    default:
      break;
  }
}

void StoreRecording(Section1Parse& parse, uint8_t tag, const uint8_t* data) {
  CRecordInfo& recording = *parse.Recording;
  switch (tag) {
    case kTagDateOfAcquisition:
      recording.AcquisitionYear = plat::GetLE16(data);
      recording.AcquisitionMonth = data[2];
      recording.AcquisitionDay = data[3];
      parse.DateRead = true;
      break;
    case kTagTimeOfAcquisition:
      recording.AcquisitionHour = data[0];
      recording.AcquisitionMinute = data[1];
      recording.AcquisitionSecond = data[2];
      parse.TimeRead = true;
      break;
    case kTagBaselineFilter:
      recording.HighPassCutoff = plat::GetLE16(data);
      break;
    case kTagLowPassFilter:
      recording.LowPassCutoff = plat::GetLE16(data);
      break;
    case kTagFilterBitMap:
      recording.DataFilterFlags = FilterFlags(data[0]);
      break;
    case kTagFiltersInForce:
      recording.FilterFlags = FilterFlags(data[0]);
      break;
    default:
      break;
  }
}

void StoreGeneral(CGeneralInfo& general, uint8_t tag, const uint8_t* data) {
  if (tag == kTagConfirmed) {
    general.InterpretationConfirmed = data[0];
    return;
  }
  SDateTime& received = general.Received;
  received.Year = plat::GetLE16(data);
  received.Month = plat::GetLE16(data + 2);
  received.Day = plat::GetLE16(data + 4);
  received.Hour = plat::GetLE16(data + 6);
  received.Minute = plat::GetLE16(data + 8);
  received.Second = plat::GetLE16(data + 10);
}

bool HandleNumberTag(Section1Parse& parse, uint8_t tag, uint16_t length, uint32_t need,
                     bool hasTarget) {
  if (!hasTarget || length < need) return true;
  // Tags 6 and 7 only fill an empty field: the first usable one wins, and the exact
  // tags 206 and 207 win over both.
  if ((tag == kTagHeight && parse.Patient->Height != 0) ||
      (tag == kTagWeight && parse.Patient->Weight != 0)) {
    return true;
  }
  uint8_t data[kMaxNumberBytes];
  if (!parse.Body.Read(data, need)) return false;
  if (tag <= kTagSex || tag == kTagWeightGrams || tag == kTagHeightMm) {
    StorePatient(*parse.Patient, tag, data);
  } else if (tag == kTagReceived || tag == kTagConfirmed) {
    StoreGeneral(*parse.General, tag, data);
  } else {
    StoreRecording(parse, tag, data);
  }
  return true;
}

// A count byte, then that many 3-byte entries. The count is not trusted beyond the
// tag: only the entries that lie wholly within the tag's length are read, so a short
// tag never pulls in the bytes of the tags after it and the parse stays in step with
// the consumed count. The tag counts as read when it gave at least one entry.
bool HandleLeadErrors(Section1Parse& parse, uint16_t length) {
  if (parse.Errors == nullptr || length < 1) return true;
  uint8_t count = 0;
  if (!parse.Body.Read(&count, 1)) return false;
  const uint32_t entries = std::min<uint32_t>(count, (length - 1u) / kLeadErrorBytes);
  if (entries == 0) return true;
  if (!parse.Errors->Allocate(static_cast<uint8_t>(entries))) return false;
  if (!ReadScratch(parse, entries * kLeadErrorBytes)) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(parse.Scratch.data());
  for (uint32_t i = 0; i < entries; ++i, bytes += kLeadErrorBytes) {
    parse.Errors->Errors[i].LeadId = bytes[0];
    parse.Errors->Errors[i].ErrorBits = plat::GetLE16(bytes + 1);
  }
  parse.ErrorsRead = true;
  return true;
}

}  // namespace

// Kept byte for byte so that a rewritten Section 1 carries it on; the last one wins.
bool HandleUnknownTag(Section1Parse& parse, uint8_t tag, uint16_t length) {
  if (parse.Unknown == nullptr || length == 0) return true;
  if (!parse.Unknown->Allocate(tag, length)) return false;
  return parse.Body.Read(parse.Unknown->Data[tag], length);
}

bool HandleOtherTag(Section1Parse& parse, uint8_t tag, uint16_t length) {
  if (tag == kTagLeadErrors) return HandleLeadErrors(parse, length);
  bool hasTarget = false;
  const uint32_t need = NumberBytes(parse, tag, &hasTarget);
  if (need == 0) return HandleUnknownTag(parse, tag, length);
  return HandleNumberTag(parse, tag, length, need, hasTarget);
}
