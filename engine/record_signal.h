// The rhythm of a loaded record as the analysis chain's signal.
#pragma once

#include "engine/signal.h"
#include "reader/reader.h"

namespace ktx::engine {

// Samples scaled by the AVM to microvolts; markers 2032-2034 become gaps that hold
// the last measured value. False when the rhythm is missing or inconsistent.
bool SignalFromRecord(CReader& reader, Signal* out);

}  // namespace ktx::engine
