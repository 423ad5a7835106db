// Section 1: the tagged header fields. The parses read the body of the section from the
// open file, positioned at its first body byte, bounded by the length field of its 16-byte
// header; the build is in section1_build.h.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/general_info.h"
#include "record/lead_errors.h"
#include "record/patient_info.h"
#include "record/record_info.h"
#include "record/unknown_tags.h"

// The header tags into the given targets; a null target is skipped.
KTX_API bool ParseSection1(plat::FileHandle file, const uint8_t* sectionHeader,
                           CPatientInfo* patient, CRecordInfo* recording, SLeadErrors* errors,
                           CGeneralInfo* general, SUnknownTags* unknown, uint8_t* requiredTags);

// Section 1 of a record that may come from another maker, for tools that show it: as
// ParseSection1, but a section that ends where a tag header would start counts as ended
// (*terminated false: no tag 255), and unless `manufacturerTagsOurs` tags 200-219, which
// each maker uses for its own data, go to `unknown` instead of this system's fields.
KTX_API bool ParseSection1Tolerant(plat::FileHandle file, const uint8_t* sectionHeader,
                                   CPatientInfo* patient, CRecordInfo* recording,
                                   SLeadErrors* errors, CGeneralInfo* general,
                                   SUnknownTags* unknown, uint8_t* requiredTags,
                                   bool manufacturerTagsOurs, bool* terminated);
