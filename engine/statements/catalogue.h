// The statement catalogue: every statement code with its mnemonic, the criterion that
// makes it, and its text in each language (UTF-8). The language modules are generated
// from the same source (catalogue.txt), so these texts are theirs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "record/engine_abi.h"

namespace ktx::engine {

// Language indexes of the analysis: 0 English ... 6 Japanese.
constexpr int kLanguageCount = abi::kLanguageCount;

enum class StatementGroup { kRhythm, kMorphology, kDriver };

struct StatementEntry {
  uint16_t Code;  // Section 9 code; for driver statements the string id (5001-5006)
  StatementGroup Group;
  const char* Mnemonic;
  const char* Criterion;
  const char* Text[kLanguageCount];
};

extern const StatementEntry kStatementCatalogue[];
extern const size_t kStatementCatalogueSize;

// The entry of a Section 9 code (not a driver statement); null when there is none.
const StatementEntry* FindStatement(uint16_t code);

// Module name of a language ("KTXSYSEN.dll" ...); null outside 0-6.
const char* LanguageModuleName(int language);

// Language index from "en", "fr", "de", "it", "es", "pt", "ja" or "0"-"6"; -1 otherwise.
int LanguageFromName(const char* name);

}  // namespace ktx::engine
