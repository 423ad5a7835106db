// Loading the waveform sections of the reader's open file into its members, for the
// edits that recompute leads or lead errors from them. Each sets its Loaded bit.
#pragma once

#include "reader/reader.h"

// Section 3, the lead definitions; an absent section fails with 232.
bool LoadLeadDefinitions(CReader& reader);
// Section 6, the rhythm data, sized by the lead definitions; an absent section fails with 232.
bool LoadRhythm(CReader& reader);
// Section 5, the reference beats, sized by the lead definitions; an absent section is
// passed over.
bool LoadMedian(CReader& reader);
