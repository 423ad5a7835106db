// Records the benchmarks work on.
#pragma once

#include "support/record_builder.h"

namespace bench {

// Sections 1, 3 and 6 of a 12-lead, 500 Hz, 10-second record: 12 x 5000 samples.
test::Bytes TwelveLeadRecord();

}  // namespace bench
