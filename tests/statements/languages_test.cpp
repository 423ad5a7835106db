// The language modules as the analysis loads them: every catalogue statement behind its
// prefix, the driver statements whole, Japanese refused under Windows-1252.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/statements/catalogue.h"
#include "platform/errors.h"
#include "platform/module.h"
#include "platform/text.h"

namespace {

using namespace ktx::engine;  // NOLINT(google-build-using-namespace)

constexpr int kJapanese = 6;

uint32_t StringId(const StatementEntry& entry) {
  return entry.Group == StatementGroup::kDriver ? entry.Code : 1000u + entry.Code;
}

class LanguageModule : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    const std::string path = std::string(KTX_LANGUAGE_DIR) + LanguageModuleName(GetParam());
    module_ = plat::LoadModule(path.c_str());
    ASSERT_NE(module_, nullptr) << path << ": error " << plat::LastError();
  }
  void TearDown() override { plat::UnloadModule(module_); }
  plat::ModuleHandle module_ = nullptr;
};

// Code in three digits, mnemonic padded to three, a blank, then the text; driver
// statements bare. Loaded through the ANSI code page they read back the same, uncut.
// Under Windows-1252 (Linux, Wine's default) Japanese fails to load with the conversion
// error instead of arriving as '?'. No string lies outside the catalogue's ids.
TEST_P(LanguageModule, HoldsEveryStatementWithItsPrefixAndNothingElse) {
  char buffer[256];
  for (size_t i = 0; i < kStatementCatalogueSize; ++i) {
    const StatementEntry& entry = kStatementCatalogue[i];
    const uint32_t id = StringId(entry);
    SCOPED_TRACE(testing::Message() << "string " << id);
    std::string expected = entry.Text[GetParam()];
    if (entry.Group != StatementGroup::kDriver) {
      char prefix[16];
      std::snprintf(prefix, sizeof prefix, "%03u%-3s ", unsigned{entry.Code}, entry.Mnemonic);
      expected = prefix + expected;
      ASSERT_GT(expected.size(), 7u) << "a statement no longer than its prefix counts as absent";
    }
    std::string raw;
    EXPECT_TRUE(plat::LoadStringResourceUtf8(module_, id, &raw));
    EXPECT_EQ(raw, expected);

    plat::SetLastError(0);
    const int length = plat::LoadStringResource(module_, id, buffer, sizeof buffer);
    if (GetParam() == kJapanese) {
      EXPECT_EQ(length, 0);
      EXPECT_EQ(plat::LastError(), plat::kErrNoUnicodeTranslation);
      EXPECT_EQ(buffer[0], '\0');
      continue;
    }
    ASSERT_GT(length, 0) << "error " << plat::LastError();
    EXPECT_LT(length, 255) << "would be cut";
    plat::WideString wide;
    std::string utf8;
    ASSERT_TRUE(
        plat::AnsiToWide(std::string(buffer, static_cast<size_t>(length)).c_str(), -1, &wide));
    ASSERT_TRUE(plat::WideToUtf8(wide.c_str(), -1, &utf8));
    EXPECT_EQ(utf8, expected);
  }
  for (uint32_t id : {1000u, 1023u, 1103u, 5000u, 5007u}) {
    EXPECT_EQ(plat::LoadStringResource(module_, id, buffer, sizeof buffer), 0) << id;
    std::string raw;
    EXPECT_FALSE(plat::LoadStringResourceUtf8(module_, id, &raw)) << id;
  }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageModule, testing::Range(0, 7));

// The module names are checked by loading them above.
TEST(StatementCatalogue, NamesLanguagesByCodeOrIndex) {
  const char* names[] = {"en", "fr", "de", "it", "es", "pt", "ja"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(LanguageFromName(names[i]), i);
    EXPECT_EQ(LanguageFromName(std::to_string(i).c_str()), i);
  }
  for (const char* bad : {"7", "-1", "EN", "", "english", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(LanguageFromName(bad), -1) << (bad ? bad : "null");
  }
  EXPECT_EQ(LanguageModuleName(7), nullptr);
}

}  // namespace
