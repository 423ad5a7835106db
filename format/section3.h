// Section 3: the lead definitions.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/lead_definitions.h"

// Reads the body of the section from the open file, positioned at its first body byte,
// bounded by the length field of its 16-byte header.
KTX_API bool ParseSection3(plat::FileHandle file, const uint8_t* sectionHeader,
                           SLeadDefinitions* leads);

// Body bytes for `leads`: lead count, flags and one definition per lead.
uint32_t Section3BodySize(const SLeadDefinitions& leads);
// Fills a zeroed body of Section3BodySize bytes.
void BuildSection3(const SLeadDefinitions& leads, uint8_t* body);
