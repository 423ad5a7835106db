#include "statement_texts.h"

#include "analysis/analysis.h"
#include "platform/module.h"
#include "platform/text.h"
#include "record_json.h"

namespace scpecg {

int32_t LanguageIndex(const std::string& name) {
  static const char* const kNames[] = {"en", "fr", "de", "it", "es", "pt", "ja"};
  for (int32_t i = 0; i < 7; ++i) {
    if (name == kNames[i] || name == std::to_string(i)) return i;
  }
  return -1;
}

std::vector<StatementText> StatementTexts(const uint16_t* codes, unsigned count, int32_t language,
                                          bool shortPrefix) {
  std::vector<StatementText> out;
  plat::ModuleHandle module = plat::LoadModule(LanguageModuleName(static_cast<uint32_t>(language)));
  const size_t prefix = shortPrefix ? 3 : 7;
  for (unsigned i = 0; i < count; ++i) {
    StatementText item{codes[i], {}};
    char buffer[256] = {};
    const int length =
        module != nullptr ? plat::LoadStringResource(module, 1000u + codes[i], buffer, 256) : 0;
    if (length > 0 && static_cast<size_t>(length) > prefix) {
      plat::WideString wide;
      if (plat::AnsiToWide(buffer + prefix, length - static_cast<int32_t>(prefix), &wide)) {
        item.Text = Utf8(wide.c_str());
      }
    }
    out.push_back(std::move(item));
  }
  plat::UnloadModule(module);
  return out;
}

}  // namespace scpecg
