// Which Section 1 tags the writer emits, from which field, in which width.
#include <cstring>
#include <utility>

#include "format/section1_build.h"
#include "format/section1_text_fields.h"
#include "platform/errors.h"
#include "platform/little_endian.h"

namespace ktx::section1 {
namespace {

constexpr uint8_t kUnitYears = 1;
constexpr uint8_t kUnitCentimetres = 1;
constexpr uint8_t kUnitKilograms = 1;

bool TextTag(const plat::OleChar* text, Bytes* data) {
  std::string ansi;
  if (!AnsiText(text, &ansi)) return false;
  AppendText(ansi, data);
  return true;
}

void CopyUnknown(const SUnknownTags& unknown, unsigned tag, Bytes* data) {
  if (unknown.Length[tag] != 0 && unknown.Data[tag] != nullptr) {
    data->assign(unknown.Data[tag], unknown.Data[tag] + unknown.Length[tag]);
  }
}

// Tag 4, from the years and months of birth and of acquisition, taken as signed 16-bit
// values so that a birth after the acquisition gives a negative age, not a huge one.
// A month missing on either side leaves the difference of the years: a birth date
// known only by its year still gets an age, as an acquisition without a month does.
void AgeTag(const Sources& s, Bytes* data) {
  const auto birthYear = static_cast<int16_t>(s.Patient->YearOfBirth);
  const auto birthMonth = static_cast<int16_t>(s.Patient->MonthOfBirth);
  const auto year = static_cast<int16_t>(s.Recording->AcquisitionYear);
  const auto month = static_cast<int16_t>(s.Recording->AcquisitionMonth);
  if (birthYear == 0 || year == 0) {
    // No age to compute: one read from an earlier file stands.
    CopyUnknown(*s.UnknownTags, 4, data);
    return;
  }
  int age = year - birthYear;
  if (birthMonth != 0 && month != 0) age = (age * 12 + (month - birthMonth)) / 12;
  AppendU16(static_cast<uint16_t>(age), data);
  data->push_back(kUnitYears);
}

// Tag 29: one power-line filter (50 Hz wins over 60 Hz), muscle and baseline bits.
uint8_t NormalisedFilters(uint8_t flags) {
  uint8_t out = 0;
  if (flags & kFilterPower50Hz) {
    out = kFilterPower50Hz;
  } else if (flags & kFilterPower60Hz) {
    out = kFilterPower60Hz;
  }
  return static_cast<uint8_t>(out | (flags & (kFilterMuscle | kFilterBaseline)));
}

void LeadErrorsTag(const SLeadErrors& errors, Bytes* data) {
  const uint8_t count = errors.Errors == nullptr ? 0 : errors.Count;
  data->push_back(count);
  for (unsigned i = 0; i < count; ++i) {
    const uint16_t bits = errors.Errors[i].ErrorBits;
    data->push_back(errors.Errors[i].LeadId);
    AppendU16(bits, data);
  }
}

void DateTimeTag(const SDateTime& when, Bytes* data) {
  for (uint16_t field : {when.Year, when.Month, when.Day, when.Hour, when.Minute, when.Second}) {
    AppendU16(field, data);
  }
}

// The data of one tag; left empty when the tag is not written.
bool TagData(const Sources& s, unsigned tag, Bytes* data) {
  const CPatientInfo& patient = *s.Patient;
  const CRecordInfo& recording = *s.Recording;
  const CGeneralInfo& general = *s.General;
  switch (tag) {
    case kTagAge:
      AgeTag(s, data);
      return true;
    case kTagDateOfBirth:
      AppendU16(patient.YearOfBirth, data);
      data->push_back(static_cast<uint8_t>(patient.MonthOfBirth));
      data->push_back(static_cast<uint8_t>(patient.DayOfBirth));
      return true;
    case kTagHeight:
      if (patient.Height != 0) {
        AppendU16(static_cast<uint16_t>(patient.Height / 10), data);
        data->push_back(kUnitCentimetres);
      }
      return true;
    case kTagWeight:
      if (patient.Weight != 0) {
        AppendU16(static_cast<uint16_t>(static_cast<int32_t>(patient.Weight) / 1000), data);
        data->push_back(kUnitKilograms);
      }
      return true;
    case kTagSex:
      data->push_back(patient.Gender);
      return true;
    case kTagAcquiringDevice:
      return DeviceTag(recording, data);
    case kTagDateOfAcquisition:
      AppendU16(recording.AcquisitionYear, data);
      data->push_back(static_cast<uint8_t>(recording.AcquisitionMonth));
      data->push_back(static_cast<uint8_t>(recording.AcquisitionDay));
      return true;
    case kTagTimeOfAcquisition:
      data->push_back(static_cast<uint8_t>(recording.AcquisitionHour));
      data->push_back(static_cast<uint8_t>(recording.AcquisitionMinute));
      data->push_back(static_cast<uint8_t>(recording.AcquisitionSecond));
      return true;
    case kTagBaselineFilter:
      if (recording.HighPassCutoff != 0) AppendU16(recording.HighPassCutoff, data);
      return true;
    case kTagLowPassFilter:
      if (recording.LowPassCutoff != 0) AppendU16(recording.LowPassCutoff, data);
      return true;
    case kTagFilterBitMap:
      if (recording.DataFilterFlags != 0) {
        data->push_back(NormalisedFilters(recording.DataFilterFlags));
      }
      return true;
    case kTagLeadErrors:
      LeadErrorsTag(*s.LeadErrors, data);
      return true;
    case kTagInterpretationText: {
      std::string text;
      if (!AnsiText(general.InterpretationText, &text)) return false;
      if (!text.empty()) {
        data->push_back(general.InterpretationModified);
        AppendText(text, data);
      }
      return true;
    }
    case kTagReceived:
      DateTimeTag(general.Received, data);
      return true;
    case kTagConfirmed:
      data->push_back(general.InterpretationConfirmed);
      return true;
    case kTagWeightGrams:
      if (patient.Weight != 0) {
        AppendU16(static_cast<uint16_t>(patient.Weight), data);
        AppendU16(static_cast<uint16_t>(patient.Weight >> 16), data);
      }
      return true;
    case kTagHeightMm:
      if (patient.Height != 0) AppendU16(patient.Height, data);
      return true;
    case kTagModifierApp:
      return TextTag(s.UpdateMode ? s.WriterName : general.ModifierApp, data);
    case kTagModifierVersion:
      return TextTag(s.UpdateMode ? s.WriterVersion : general.ModifierVer, data);
    case kTagCreatorApp:
      return TextTag(s.UpdateMode ? general.CreatorApp : s.WriterName, data);
    case kTagCreatorVersion:
      return TextTag(s.UpdateMode ? general.CreatorVer : s.WriterVersion, data);
    case kTagFiltersInForce:
      data->push_back(recording.FilterFlags);
      return true;
    default:
      break;
  }
  // Texts written as they are held; numbers the writer does not fill itself are carried
  // on as they were read.
  if (const auto field = TextFieldOf(kPatientTextTags, static_cast<uint8_t>(tag))) {
    return TextTag(patient.*field, data);
  }
  if (const auto field = TextFieldOf(kGeneralTextTags, static_cast<uint8_t>(tag))) {
    return TextTag(general.*field, data);
  }
  CopyUnknown(*s.UnknownTags, tag, data);
  return true;
}

}  // namespace

bool CollectTags(const Sources& sources, std::vector<Tag>* tags) {
  tags->clear();
  for (unsigned tag = 0; tag < kTagTerminator; ++tag) {
    Bytes data;
    if (!TagData(sources, tag, &data)) return false;
    if (data.empty()) continue;
    // A text too long for its tag is refused rather than cut: cutting would lose data
    // silently and could split a double-byte character of the code page.
    if (data.size() > kMaxTagData) {
      return plat::FailWith(plat::kErrInvalidData);
    }
    tags->push_back(Tag{static_cast<uint8_t>(tag), std::move(data)});
  }
  return true;
}

uint32_t BodySize(const std::vector<Tag>& tags) {
  uint32_t length = kTagHeaderBytes;  // the terminator
  for (const auto& tag : tags) length += kTagHeaderBytes + static_cast<uint32_t>(tag.Data.size());
  return length;
}

void Build(const std::vector<Tag>& tags, uint8_t* body) {
  uint8_t* out = body;
  for (const auto& tag : tags) {
    const auto size = static_cast<uint16_t>(tag.Data.size());
    out[0] = tag.Number;
    plat::PutLE16(out + 1, size);
    if (size != 0) std::memcpy(out + kTagHeaderBytes, tag.Data.data(), size);
    out += kTagHeaderBytes + size;
  }
  out[0] = kTagTerminator;  // its length is already zero
}

}  // namespace ktx::section1
