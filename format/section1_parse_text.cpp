// Section 1 text: the text tags, the device identification and the scratch buffer.
#include <algorithm>
#include <cstring>
#include <new>

#include "format/section1_device_block.h"
#include "format/section1_parse.h"
#include "format/section1_text_fields.h"
#include "platform/errors.h"
#include "platform/little_endian.h"
#include "record/string_field.h"

namespace {

// Version 10 writers pad names with blanks to a fixed width; only the first 40 bytes
// of a longer name field count.
constexpr uint8_t kPaddedNamesVersion = 10;
constexpr uint32_t kPaddedNameBytes = 40;

using namespace ktx::section1::device;

plat::Bstr* TextField(Section1Parse& parse, uint8_t tag) {
  if (const auto field = TextFieldOf(kPatientTextTags, tag)) {
    return parse.Patient != nullptr ? &(parse.Patient->*field) : nullptr;
  }
  const auto field = TextFieldOf(kGeneralTextTags, tag);
  return field != nullptr && parse.General != nullptr ? &(parse.General->*field) : nullptr;
}

}  // namespace

bool IsTextTag(uint8_t tag) {
  return TextFieldOf(kPatientTextTags, tag) != nullptr ||
         TextFieldOf(kGeneralTextTags, tag) != nullptr;
}

bool ReadScratch(Section1Parse& parse, uint32_t count) {
  if (count == 0) return true;
  const bool room = parse.Scratch.size() >= count || plat::CatchOutOfMemory(false, [&] {
                      parse.Scratch.assign(count, '\0');
                      return true;
                    });
  if (!room) return false;
  return parse.Body.Read(parse.Scratch.data(), count);
}

uint32_t TextLength(const char* text, uint32_t max) {
  const void* end = std::memchr(text, '\0', max);
  return end == nullptr ? max : static_cast<uint32_t>(static_cast<const char*>(end) - text);
}

// A text that cannot be converted (in practice: no memory) leaves the field null and
// the parse goes on; it keeps the caller's last-error code, because the parse does not
// fail for it and a code left before the parse (11 from finding the section) must stay.
void SetText(plat::Bstr* field, const char* text, uint32_t length) {
  plat::KeepLastError keep;
  FreeString(field);
  plat::WideString wide;
  if (length == 0 || !plat::AnsiToWide(text, static_cast<int32_t>(length), &wide) || wide.empty()) {
    return;
  }
  *field = plat::SysAllocStringLen(wide.data(), static_cast<uint32_t>(wide.size()));
}

bool HandleTextTag(Section1Parse& parse, uint8_t tag, uint16_t length) {
  plat::Bstr* field = TextField(parse, tag);
  if (field == nullptr) return true;
  // An empty tag still replaces an earlier one: the last occurrence wins.
  if (length == 0) {
    FreeString(field);
    return true;
  }
  if (!ReadScratch(parse, length)) return false;
  char* text = parse.Scratch.data();
  text[length - 1] = '\0';  // a text never runs past its tag
  uint32_t count = TextLength(text, length);
  if (tag == kTagInterpretationText) {
    parse.General->InterpretationModified = static_cast<uint8_t>(text[0]);
    ++text;
    count = TextLength(text, length - 1u);
  } else if (tag <= kTagPatientId && parse.SectionVersion == kPaddedNamesVersion &&
             length > kPaddedNameBytes) {
    count = std::min(count, kPaddedNameBytes);
    while (count > 0 && text[count - 1] == ' ') --count;
  }
  SetText(field, text, count);
  return true;
}

bool HandleDeviceTag(Section1Parse& parse, uint16_t length) {
  CRecordInfo* recording = parse.Recording;
  if (recording == nullptr || length < kBlockBytes) return true;
  uint8_t fixed[kBlockBytes];
  if (!parse.Body.Read(fixed, kBlockBytes)) return false;
  recording->DeviceID = plat::GetLE16(fixed + kDeviceIdOffset);
  const char* model = reinterpret_cast<const char*>(fixed + kModelOffset);
  SetText(&recording->DeviceType, model, TextLength(model, kBlockBytes - kModelOffset));

  const uint32_t revision = fixed[kRevisionLengthOffset];
  const uint32_t rest = length - kBlockBytes;
  if (revision > rest) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  if (!ReadScratch(parse, revision)) return false;
  SetText(&recording->ProgramRevision, parse.Scratch.data(),
          revision == 0 ? 0 : TextLength(parse.Scratch.data(), revision));
  const uint32_t serial = rest - revision;
  if (!ReadScratch(parse, serial)) return false;
  SetText(&recording->SerialNumber, parse.Scratch.data(),
          serial == 0 ? 0 : TextLength(parse.Scratch.data(), serial));
  parse.DeviceRead = true;
  return true;
}
