#include "record/lead_labels.h"

#include <iterator>

#include "record/codes.h"

namespace {

// Codes 0-30 of the SCP-ECG lead table: standard, right-sided, Frank and limb
// electrode leads.
const char* const kLowCodes[] = {
    "unspecified", "I",   "II",  "V1",  "V2",  "V3", "V4", "V5", "V6",  "V7",  "V2R",
    "V3R",         "V4R", "V5R", "V6R", "V7R", "X",  "Y",  "Z",  "CC5", "CM5", "LA",
    "RA",          "LL",  "fI",  "fE",  "fC",  "fA", "fM", "fF", "fH",
};

// Codes 61-72: derived limb leads, posterior leads and the Nehb leads.
const char* const kDerivedCodes[] = {
    "III", "aVR", "aVL", "aVF", "-aVR", "V8", "V9", "V8R", "V9R", "D", "A", "J",
};

}  // namespace

const char* LeadName(uint8_t code) {
  if (code < std::size(kLowCodes)) return kLowCodes[code];
  if (code >= kLeadIII && code - unsigned{kLeadIII} < std::size(kDerivedCodes))
    return kDerivedCodes[code - kLeadIII];
  return nullptr;
}

std::string LeadLabel(uint8_t code) {
  const char* name = LeadName(code);
  return name != nullptr ? std::string(name) : "code " + std::to_string(code);
}
