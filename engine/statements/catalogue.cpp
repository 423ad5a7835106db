#include "engine/statements/catalogue.h"

#include <cstring>

namespace ktx::engine {
namespace {

struct Language {
  const char* Code;
  const char* Module;
};

constexpr Language kLanguages[kLanguageCount] = {
    {"en", "KTXSYSEN.dll"}, {"fr", "KTXSYSFR.dll"}, {"de", "KTXSYSDU.dll"}, {"it", "KTXSYSIT.dll"},
    {"es", "KTXSYSSP.dll"}, {"pt", "KTXSYSPO.dll"}, {"ja", "KTXSYSJP.dll"},
};

}  // namespace

const StatementEntry* FindStatement(uint16_t code) {
  for (size_t i = 0; i < kStatementCatalogueSize; ++i) {
    const StatementEntry& entry = kStatementCatalogue[i];
    if (entry.Code == code && entry.Group != StatementGroup::kDriver) return &entry;
  }
  return nullptr;
}

const char* LanguageModuleName(int language) {
  return language >= 0 && language < kLanguageCount ? kLanguages[language].Module : nullptr;
}

int LanguageFromName(const char* name) {
  if (!name) return -1;
  if (name[0] >= '0' && name[0] < '0' + kLanguageCount && name[1] == '\0') return name[0] - '0';
  for (int i = 0; i < kLanguageCount; ++i) {
    if (std::strcmp(name, kLanguages[i].Code) == 0) return i;
  }
  return -1;
}

}  // namespace ktx::engine
