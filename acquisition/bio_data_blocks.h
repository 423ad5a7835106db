// The data blocks of a Bio file: each fills one, two or eight lead slots of the
// current event with that event's sample count.
#pragma once

#include <cstdint>

#include "acquisition/bio_input.h"
#include "acquisition/event.h"

namespace ktx::acq {

bool IsBioDataBlock(uint8_t type);

// Reads the samples of a data block of `type` into the event's next free slots,
// giving the event its leads first when it has none. No free slot: 84.
bool ReadBioDataBlock(BioInput& input, SEvent& event, uint8_t type);

}  // namespace ktx::acq
