// Per-lead measurements on the reference beat: the QRS split into its Q, R, S, R'
// and S' waves at the crossings of the PR level, P and T extremes, J point and ST.
#pragma once

#include <vector>

#include "engine/delineation.h"
#include "engine/findings.h"

namespace ktx::engine {

// One entry per lead of the beat, with `codes` as lead codes.
std::vector<LeadFindings> MeasureLeads(const ReferenceBeat& beat,
                                       const std::vector<uint16_t>& codes, const Delineation& d);

}  // namespace ktx::engine
