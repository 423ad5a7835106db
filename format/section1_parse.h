// State of one Section 1 parse, shared by the tag handlers.
#pragma once

#include <cstdint>
#include <vector>

#include "format/section_body.h"
#include "record/general_info.h"
#include "record/lead_errors.h"
#include "record/patient_info.h"
#include "record/record_info.h"
#include "record/unknown_tags.h"

struct Section1Parse {
  Section1Parse(plat::FileHandle file, const uint8_t* sectionHeader)
      : Body(file, sectionHeader), SectionVersion(sectionHeader[8]) {}

  SectionBody Body;
  uint8_t SectionVersion;  // version 10 cuts the names to 40 bytes
  CPatientInfo* Patient = nullptr;
  CRecordInfo* Recording = nullptr;
  SLeadErrors* Errors = nullptr;
  CGeneralInfo* General = nullptr;
  SUnknownTags* Unknown = nullptr;

  // Text of the current tag; grows to the largest tag, zero-filled when it grows.
  std::vector<char> Scratch;

  // Tags handled in full; the recording record is kept only with all three.
  bool DeviceRead = false;  // tag 14
  bool DateRead = false;    // tag 25
  bool TimeRead = false;    // tag 26
  bool ErrorsRead = false;  // tag 200 with at least one entry

  bool ForeignTags = false;  // tags 200-219 are another maker's: kept as unknown tags
};

// Each handler reads at most `length` bytes of the tag's data through Body and leaves
// the rest for the caller to skip; a tag too short for its handler, or whose target
// is null, is left unread. False: the parse fails, with the error left.

// Section 1 text tags: 0-2, 21, 201, 202, 205, 208-211 and 213-219.
bool IsTextTag(uint8_t tag);
bool HandleTextTag(Section1Parse& parse, uint8_t tag, uint16_t length);
// Tag 14: acquiring device identification.
bool HandleDeviceTag(Section1Parse& parse, uint16_t length);
// Every other tag: numbers, dates, filters, lead errors and unknown tags.
bool HandleOtherTag(Section1Parse& parse, uint8_t tag, uint16_t length);
// A tag kept as it is among the unknown tags.
bool HandleUnknownTag(Section1Parse& parse, uint8_t tag, uint16_t length);

// Reads `count` bytes into the scratch buffer (no memory: 14).
bool ReadScratch(Section1Parse& parse, uint32_t count);
// Replaces *field by `text` converted to a wide string; empty text leaves it null.
void SetText(plat::Bstr* field, const char* text, uint32_t length);
// Bytes before the first NUL of text[0..max).
uint32_t TextLength(const char* text, uint32_t max);
