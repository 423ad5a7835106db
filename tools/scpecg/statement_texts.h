// Statement texts from a language module, as the analysis driver reads them (scpecg and the
// Python package): the string
// 1000 + code behind its prefix (7 characters, 3 with the short prefix).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scpecg {

struct StatementText {
  uint16_t Code = 0;
  std::string Text;  // UTF-8; empty when the module has no text for the code
};

// The language index 0-6 of "en", "fr", "de", "it", "es", "pt", "ja" (or "0".."6");
// -1 for another name.
int32_t LanguageIndex(const std::string& name);

std::vector<StatementText> StatementTexts(const uint16_t* codes, unsigned count, int32_t language,
                                          bool shortPrefix = false);

}  // namespace scpecg
