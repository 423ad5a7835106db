// Section 10: the per-lead measurements.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/lead_measurements.h"

// Reads the body of the section from the open file, positioned at its first body byte,
// bounded by the length field of its 16-byte header.
KTX_API bool ParseSection10(plat::FileHandle file, const uint8_t* sectionHeader,
                            SLeadMeasurements* measurements);

// Body bytes for `measurements`: the 4-byte head, then each record cut to the table's
// record size (at most 62) and to its own RecordLength.
uint32_t Section10BodySize(const SLeadMeasurements& measurements);
// Fills a zeroed body of Section10BodySize bytes, each value low byte first.
void BuildSection10(const SLeadMeasurements& measurements, uint8_t* body);
