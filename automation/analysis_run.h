// The analysis driver behind ScpAnalysis, kept apart from the type library's header:
// both declare the result codes, and only one may be seen at a time.
#pragma once

#include <cstdint>

namespace ktx_com {

// One analysis on a fresh driver stamped with this module's name; the result code.
int16_t RunAnalysis(const char* name, int32_t language, bool shortAnalysis, bool analysisText,
                    bool warningText);
// Removes the stored analysis of `name`; false when the file could not be rewritten.
bool RemoveStoredAnalysis(const char* name);

}  // namespace ktx_com
