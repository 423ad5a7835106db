// Microvolts to 16-bit samples without touching the marker values: 2032, 2033 and
// 2034 mark lead errors in rhythm data and are never signal values.
#pragma once

#include <cstdint>
#include <string>

#include "record/codes.h"

// The marker a sample gets when the source says it is invalid (NaN): lead error bit 0.
constexpr int16_t kInvalidSampleMarker = kMarkerErrorBit0;

struct SScaling {
  uint16_t AVM = 0;             // nanovolts per sample unit
  uint64_t MovedSamples = 0;    // landed on 2032-2034 and moved to 2031 or 2035
  uint64_t InvalidSamples = 0;  // NaN in the source, stored as kInvalidSampleMarker
};

// The AVM for samples whose largest magnitude is `largestMicrovolts`: the one
// `requested` (when not 0), else the source's resolution `stepNv` rounded down (1000
// nV when it has none), either raised to what keeps every sample within 16 bits.
// False with `why` when `requested` is too small for the largest sample or no AVM
// (at most 65535 nV) is large enough.
bool ChooseAvm(double largestMicrovolts, double stepNv, uint16_t requested, uint16_t* avm,
               std::string* why);

// One sample at `avm`: rounded to the nearest unit; one that lands on a marker value
// goes to the nearest value that is none (2031 or 2035; 2033 by the unrounded side)
// and is counted. NaN gives kInvalidSampleMarker, counted apart. The value must fit
// (ChooseAvm).
int16_t MarkerSafeSample(double microvolts, uint16_t avm, SScaling* counts);
