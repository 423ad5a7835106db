// Section 1 as it is built: the data of every tag, gathered from the header records
// before the section is laid out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"
#include "record/codes.h"
#include "record/general_info.h"
#include "record/lead_errors.h"
#include "record/patient_info.h"
#include "record/record_info.h"
#include "record/unknown_tags.h"

namespace ktx::section1 {

using Bytes = std::vector<uint8_t>;

// What a Section 1 is made of.
struct Sources {
  const CPatientInfo* Patient;
  const CRecordInfo* Recording;
  const CGeneralInfo* General;
  const SLeadErrors* LeadErrors;
  const SUnknownTags* UnknownTags;
  bool UpdateMode;  // modifier tags carry the writer, creator tags stay as they were
  const plat::OleChar* WriterName;
  const plat::OleChar* WriterVersion;
};

struct Tag {
  uint8_t Number;
  Bytes Data;
};

// The tag length field is 16 bits.
constexpr uint32_t kMaxTagData = 0xFFFF;

// Every tag to write, in ascending order, the terminator excluded. A text that cannot
// be converted, or a tag longer than kMaxTagData: false with 13. Allocation failure
// throws std::bad_alloc.
bool CollectTags(const Sources& sources, std::vector<Tag>* tags);

// Body bytes for `tags`: each tag's header and data, then the terminator tag.
uint32_t BodySize(const std::vector<Tag>& tags);
// Fills a zeroed body of BodySize bytes.
void Build(const std::vector<Tag>& tags, uint8_t* body);

// `text` in the ANSI code page, without terminator; null gives an empty text.
// A failed conversion: false with 13.
bool AnsiText(const plat::OleChar* text, std::string* out);
// Appends the text and its terminating 0; an empty text appends nothing.
void AppendText(const std::string& text, Bytes* data);
void AppendU16(uint16_t value, Bytes* data);

// Tag 14, acquiring device: the 36-byte block, then program revision and serial number.
bool DeviceTag(const CRecordInfo& recording, Bytes* data);

}  // namespace ktx::section1
