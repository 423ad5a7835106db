#include "engine/statements/catalogue.h"

#include <cstring>

#include "record/engine_abi.h"

namespace ktx::engine {
namespace {

// In the order of the engine interface's language modules.
constexpr const char* kLanguageCodes[kLanguageCount] = {"en", "fr", "de", "it", "es", "pt", "ja"};

}  // namespace

const StatementEntry* FindStatement(uint16_t code) {
  for (size_t i = 0; i < kStatementCatalogueSize; ++i) {
    const StatementEntry& entry = kStatementCatalogue[i];
    if (entry.Code == code && entry.Group != StatementGroup::kDriver) return &entry;
  }
  return nullptr;
}

const char* LanguageModuleName(int language) {
  return language >= 0 && language < kLanguageCount ? abi::kLanguageModules[language] : nullptr;
}

int LanguageFromName(const char* name) {
  if (!name) return -1;
  if (name[0] >= '0' && name[0] < '0' + kLanguageCount && name[1] == '\0') return name[0] - '0';
  for (int i = 0; i < kLanguageCount; ++i) {
    if (std::strcmp(name, kLanguageCodes[i]) == 0) return i;
  }
  return -1;
}

}  // namespace ktx::engine
