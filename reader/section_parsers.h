// Section parsers. Each reads the body of one section from the open file, positioned
// at its first body byte, bounded by the length field of the 16-byte section header.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/encoded_data.h"
#include "record/general_info.h"
#include "record/global_measurements.h"
#include "record/lead_definitions.h"
#include "record/lead_errors.h"
#include "record/lead_measurements.h"
#include "record/patient_info.h"
#include "record/record_info.h"
#include "record/unknown_tags.h"

// Section 1: header tags into the given targets; a null target is skipped.
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

// Section 3: lead definitions.
KTX_API bool ParseSection3(plat::FileHandle file, const uint8_t* sectionHeader,
                           SLeadDefinitions* leads);

// Section 6 (rhythm true) or Section 5 (rhythm false), sized by the lead definitions.
KTX_API bool ParseSampleData(plat::FileHandle file, const uint8_t* sectionHeader,
                             const SLeadDefinitions* leads, SEncodedData* data, bool rhythm);

// Section 7: global measurements.
KTX_API bool ParseSection7(plat::FileHandle file, const uint8_t* sectionHeader,
                           SGlobalMeasurements* measurements);

// Section 9: rhythm and morphology statement codes.
KTX_API bool ParseSection9(plat::FileHandle file, const uint8_t* sectionHeader,
                           uint16_t* rhythmCodes, int16_t maxRhythm, uint16_t* rhythmCount,
                           uint16_t* morphologyCodes, int16_t maxMorphology,
                           uint16_t* morphologyCount);

// Section 10: per-lead measurements.
KTX_API bool ParseSection10(plat::FileHandle file, const uint8_t* sectionHeader,
                            SLeadMeasurements* measurements);
