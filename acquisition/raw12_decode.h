// The parts of a raw 12-lead read that file and memory share.
#pragma once

#include <cstdint>

#include "acquisition/event.h"
#include "platform/time.h"

namespace ktx::acq {

struct Raw12Layout {
  uint8_t Leads;
  uint8_t RecordSize;
  uint8_t SingleLead;
  const uint8_t* LeadIndexes;
};

// Clears the event and fills the header fields that depend only on the arguments.
// An unknown lead configuration fails with 13.
bool BeginRaw12(SEvent& event, int16_t leadConfig, double samplingRate, double resolution,
                Raw12Layout* layout);

// Sample count from the input size, date and time, and the lead buffers.
bool AllocateRaw12(SEvent& event, const Raw12Layout& layout, uint64_t inputBytes,
                   const plat::SystemTime& when);

// Writes the record's samples at `position` of every lead; true when the record is
// valid (synchronisation bits or checksum), so that the position may advance.
bool DecodeRaw12Record(SEvent& event, const Raw12Layout& layout, const uint8_t* record,
                       uint32_t position);

// Fixes the stored sample count, hands out the header and the leads.
SLeadObj* FinishRaw12(SEvent& event, uint32_t storedSamples, SECGInfo* info);

}  // namespace ktx::acq
