// Helpers every acquisition reader uses.
#pragma once

#include <cstdint>

#include "acquisition/ecg_info.h"
#include "acquisition/lead_data.h"
#include "platform/time.h"

namespace ktx::acq {

// Largest sample count the raw readers take from one input.
constexpr uint32_t kMaxRawSamples = 32767;

// Truncates toward zero and keeps the low 16 bits. A value that is not a number or
// lies beyond any integer (a sampling rate of 0 gives an infinite interval) gives 0.
uint16_t TruncateTo16(double value);

// Year to second of `time` into the header record.
void SetDateTime(SECGInfo& info, const plat::SystemTime& time);

// Leaves `code` as the last error and gives a null result.
SLeadObj* NoLeads(uint32_t code);

}  // namespace ktx::acq
