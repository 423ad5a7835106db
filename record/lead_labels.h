// Names of the SCP-ECG lead codes, as ECG users know them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/export.h"

// The lead's usual name ("I", "aVR", "V1", ...), or null for a code without one here.
KTX_API const char* LeadName(uint8_t code);
// LeadName, or "code N" for a code without a name.
KTX_API std::string LeadLabel(uint8_t code);
