// MIT-BIH records cut into SCP-ECG files the library can hold: a multi-lead
// Section 6 keeps at most 32767 samples per lead, so 90 s at 360 Hz.
#pragma once

#include "support/record_builder.h"
#include "wfdb.h"

namespace accuracy {

constexpr double kSegmentSeconds = 90, kOverlapSeconds = 10;

// Samples `from` to `from + count` of `record` as Sections 1, 3 and 6; MLII becomes
// lead II, V1-V6 their chest leads, 5 uV per unit.
test::Bytes SegmentRecord(const WfdbRecord& record, long from, long count);

}  // namespace accuracy
