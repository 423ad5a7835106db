// Lead names as files spell them ("MLII", "avr", "V1 ", "ECG I") mapped to SCP-ECG lead
// codes. The names themselves are record/lead_labels'; this adds the other spellings.
#pragma once

#include <cstdint>
#include <string>

// The lead code of `name`: a name LeadName gives, in any case, with blanks or quotes
// around it and an "ECG", "EKG" or "Lead" prefix; also MLI-MLIII (modified limb leads)
// and D1-D3, DI-DIII for I, II and III. 0 (unspecified) for a name it does not know.
uint8_t LeadCodeFromName(const std::string& name);
