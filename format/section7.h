// Section 7: the global measurements.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"
#include "record/global_measurements.h"

// Reads the body of the section from the open file, positioned at its first body byte,
// bounded by the length field of its 16-byte header; of the reference beat types only
// the first is read.
KTX_API bool ParseSection7(plat::FileHandle file, const uint8_t* sectionHeader,
                           SGlobalMeasurements* measurements);

// What a written Section 7 holds: the measurements of one reference beat type, the
// pacemaker spikes (times only), the type of every QRS complex and the rates.
struct SSection7Content {
  SGlobalMeasurements Global;            // PossiblePacemakerSpikes counts SpikeTimes
  const uint16_t* SpikeTimes = nullptr;  // ms
  const uint8_t* QrsTypes = nullptr;
  uint16_t QrsCount = 0;
  uint16_t VentricularRate = 0;  // beats per minute
  uint16_t AtrialRate = 0;
  uint16_t QTc = 0;  // ms
  uint8_t QTcFormula = 0;
};

// Body bytes for `content`.
uint32_t Section7BodySize(const SSection7Content& content);
// Fills a zeroed body of Section7BodySize bytes; spike amplitudes and spike details
// but the type (unknown) stay zero.
void BuildSection7(const SSection7Content& content, uint8_t* body);
