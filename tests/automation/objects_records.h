// Hand-built records for the object tests, byte by byte from the SCP-ECG layouts.
#pragma once

#include "support/record_builder.h"

namespace objects {

// Patient "Ann Roe", id "P-17"; leads I and II (samples 1-4, simultaneous), I = 100, 200,
// 300, 400 and II = 300, 2033, 300, 300 (a marker of lead error bit 1); AVM 1000 nV,
// 2000 us. With `measured`: Section 10 with two 31-value records (see Section10Body)
// and Section 5 with three reference-beat samples per lead (-5, 0, 5 and 7, 8, 9).
test::Bytes LimbRecord(bool measured);

// The same without Section 6: readable, but no valid 12-lead record.
test::Bytes NoRhythmRecord();

}  // namespace objects
