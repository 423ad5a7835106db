// Sections 5 and 6: reference beats and rhythm as plain 16-bit samples.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/encoded_data.h"
#include "record/lead_definitions.h"

// Section 6 (rhythm true) or Section 5 (rhythm false), sized by the lead definitions;
// reads the body from the open file, positioned at its first body byte, bounded by the
// length field of its 16-byte header.
KTX_API bool ParseSampleData(plat::FileHandle file, const uint8_t* sectionHeader,
                             const SLeadDefinitions* leads, SEncodedData* data, bool rhythm);

// Body bytes for `data`: the 6-byte head, the byte-length table and the samples. A lead
// of more than 32767 samples does not fit its 16-bit byte count: false with 13.
bool SampleSectionBodySize(const SEncodedData& data, uint32_t* size);
// Fills a zeroed body of SampleSectionBodySize bytes, samples two bytes each, as held.
void BuildSampleSection(const SEncodedData& data, uint8_t* body);
