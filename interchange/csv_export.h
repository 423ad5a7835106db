// Samples as CSV: a header row of lead names, one row per sample, one column per lead.
#pragma once

#include <ostream>

#include "record/encoded_data.h"
#include "record/lead_definitions.h"

// Microvolts (sample x AVM / 1000, at most three decimals) or, with `raw`, the stored
// values; leads shorter than the longest leave their cells empty.
void WriteCsv(std::ostream& out, const SEncodedData& data, const SLeadDefinitions& leads, bool raw);
