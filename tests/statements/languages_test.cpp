// The language modules as the analysis loads them: every catalogue statement behind its
// prefix, the driver statements whole, Japanese refused under Windows-1252.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "engine/statement_codes.h"
#include "engine/statements/catalogue.h"
#include "platform/errors.h"
#include "platform/module.h"
#include "platform/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/module_strings.h"
#endif

namespace {

using ktx::engine::kStatementCatalogue;
using ktx::engine::kStatementCatalogueSize;
using ktx::engine::StatementEntry;
using ktx::engine::StatementGroup;

constexpr int kJapanese = 6;

uint32_t StringId(const StatementEntry& entry) {
  return entry.Group == StatementGroup::kDriver ? entry.Code : 1000u + entry.Code;
}

// What the module should hold for `entry`, in UTF-8: code in three digits, mnemonic
// padded to three, a blank, then the text; driver statements bare.
std::string ExpectedString(const StatementEntry& entry, int language) {
  if (entry.Group == StatementGroup::kDriver) return entry.Text[language];
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%03u%-3s ", unsigned{entry.Code}, entry.Mnemonic);
  return prefix + std::string(entry.Text[language]);
}

std::string AnsiToUtf8(const std::string& ansi) {
  plat::WideString wide;
  std::string utf8;
  EXPECT_TRUE(plat::AnsiToWide(ansi.c_str(), -1, &wide));
  EXPECT_TRUE(plat::WideToUtf8(wide.c_str(), -1, &utf8));
  return utf8;
}

// The module's own text of string `id` in UTF-8, before any code page conversion.
std::string RawString(plat::ModuleHandle module, uint32_t id) {
#ifdef _WIN32
  const wchar_t* text = nullptr;
  const int length =
      LoadStringW(static_cast<HMODULE>(module), id, reinterpret_cast<LPWSTR>(&text), 0);
  std::string utf8;
  if (length > 0) plat::WideToUtf8(reinterpret_cast<const plat::OleChar*>(text), length, &utf8);
  return utf8;
#else
  const auto* table =
      static_cast<const KtxModuleString*>(plat::FindEntry(module, KTX_MODULE_STRINGS_SYMBOL));
  for (; table && table->Text; ++table) {
    if (table->Id == id) return table->Text;
  }
  return std::string();
#endif
}

class LanguageModule : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    const std::string path =
        std::string(KTX_LANGUAGE_DIR) + ktx::engine::LanguageModuleName(GetParam());
    module_ = plat::LoadModule(path.c_str());
    ASSERT_NE(module_, nullptr) << path << ": error " << plat::LastError();
  }
  void TearDown() override { plat::UnloadModule(module_); }
  plat::ModuleHandle module_ = nullptr;
};

TEST_P(LanguageModule, HoldsEveryStatementWithItsPrefix) {
  for (size_t i = 0; i < kStatementCatalogueSize; ++i) {
    const StatementEntry& entry = kStatementCatalogue[i];
    const std::string expected = ExpectedString(entry, GetParam());
    EXPECT_EQ(RawString(module_, StringId(entry)), expected) << "string " << StringId(entry);
    if (GetParam() == kJapanese) continue;

    char buffer[256];
    const int length = plat::LoadStringResource(module_, StringId(entry), buffer, sizeof buffer);
    ASSERT_GT(length, 0) << "string " << StringId(entry) << ": error " << plat::LastError();
    EXPECT_LT(length, 255) << "string " << StringId(entry) << " would be cut";
    const std::string text(buffer, static_cast<size_t>(length));
    EXPECT_EQ(AnsiToUtf8(text), expected);
    if (entry.Group == StatementGroup::kDriver) continue;
    ASSERT_GT(text.size(), 7u) << "a statement no longer than its prefix counts as absent";
    EXPECT_EQ(std::stoi(text.substr(0, 3)), entry.Code);
    EXPECT_EQ(text[6], ' ');
  }
}

TEST_P(LanguageModule, HoldsNothingElse) {
  char buffer[256];
  for (uint32_t id : {1000u, 1011u, 1103u, 5000u, 5007u}) {
    EXPECT_EQ(plat::LoadStringResource(module_, id, buffer, sizeof buffer), 0) << id;
  }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageModule, testing::Range(0, 7));

// On a host whose ANSI code page is Windows-1252 (Linux, Wine's default) Japanese
// statements fail to load with the conversion error instead of arriving as '?'.
TEST(LanguageModules, JapaneseFailsCleanlyUnderWindows1252) {
  const std::string path = std::string(KTX_LANGUAGE_DIR) + ktx::engine::LanguageModuleName(6);
  const plat::ModuleHandle module = plat::LoadModule(path.c_str());
  ASSERT_NE(module, nullptr);
  char buffer[256];
  for (uint32_t id : {1001u, 1100u, 5001u, 5006u}) {
    plat::SetLastError(0);
    EXPECT_EQ(plat::LoadStringResource(module, id, buffer, sizeof buffer), 0) << id;
    EXPECT_EQ(plat::LastError(), plat::kErrNoUnicodeTranslation) << id;
    EXPECT_EQ(buffer[0], '\0');
  }
  plat::UnloadModule(module);
}

// Every code the engine may write has an entry in its group, once, and every driver
// statement the analysis uses is there.
TEST(StatementCatalogue, CoversEveryCodeAndDriverStatement) {
  namespace code = ktx::engine::code;
  const uint16_t rhythm[] = {code::kSinusRhythm,
                             code::kSinusBradycardia,
                             code::kSinusTachycardia,
                             code::kSinusArrhythmia,
                             code::kAtrialFibrillation,
                             code::kVentricularPremature,
                             code::kSupraventricularPremature,
                             code::kPacedRhythm,
                             code::kIrregularRhythm,
                             code::kUndeterminedRhythm};
  const uint16_t morphology[] = {code::kNormalAxis,
                                 code::kLeftAxisDeviation,
                                 code::kRightAxisDeviation,
                                 code::kFirstDegreeAVBlock,
                                 code::kShortPR,
                                 code::kWideQRS,
                                 code::kLeftBundleBranchBlock,
                                 code::kRightBundleBranchBlock,
                                 code::kIncompleteRBBB,
                                 code::kProlongedQTc,
                                 code::kLowQRSVoltage,
                                 code::kLeftVentricularHypertrophy,
                                 code::kSTElevationAnterior,
                                 code::kSTElevationInferior,
                                 code::kSTElevationLateral,
                                 code::kSTDepressionAnterior,
                                 code::kSTDepressionInferior,
                                 code::kSTDepressionLateral,
                                 code::kTWaveInversion,
                                 code::kQWavesInferior,
                                 code::kQWavesAnterior,
                                 code::kQWavesLateral,
                                 code::kNormalECG,
                                 code::kBorderlineECG,
                                 code::kAbnormalECG};
  for (uint16_t c : rhythm) {
    ASSERT_NE(ktx::engine::FindStatement(c), nullptr) << c;
    EXPECT_EQ(ktx::engine::FindStatement(c)->Group, StatementGroup::kRhythm) << c;
  }
  for (uint16_t c : morphology) {
    ASSERT_NE(ktx::engine::FindStatement(c), nullptr) << c;
    EXPECT_EQ(ktx::engine::FindStatement(c)->Group, StatementGroup::kMorphology) << c;
  }
  std::set<uint32_t> ids;
  std::set<std::string> mnemonics;
  for (size_t i = 0; i < kStatementCatalogueSize; ++i) {
    EXPECT_TRUE(ids.insert(StringId(kStatementCatalogue[i])).second);
    if (kStatementCatalogue[i].Group != StatementGroup::kDriver) {
      EXPECT_TRUE(mnemonics.insert(kStatementCatalogue[i].Mnemonic).second);
    }
  }
  EXPECT_EQ(ids.size(), std::size(rhythm) + std::size(morphology) + 6);
  for (uint32_t id = 5001; id <= 5006; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
}

TEST(StatementCatalogue, NamesLanguagesByCodeOrIndex) {
  const char* names[] = {"en", "fr", "de", "it", "es", "pt", "ja"};
  const char* modules[] = {"KTXSYSEN.dll", "KTXSYSFR.dll", "KTXSYSDU.dll", "KTXSYSIT.dll",
                           "KTXSYSSP.dll", "KTXSYSPO.dll", "KTXSYSJP.dll"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(ktx::engine::LanguageFromName(names[i]), i);
    EXPECT_EQ(ktx::engine::LanguageFromName(std::to_string(i).c_str()), i);
    EXPECT_STREQ(ktx::engine::LanguageModuleName(i), modules[i]);
  }
  for (const char* bad : {"7", "-1", "EN", "", "english"}) {
    EXPECT_EQ(ktx::engine::LanguageFromName(bad), -1) << bad;
  }
  EXPECT_EQ(ktx::engine::LanguageFromName(nullptr), -1);
  EXPECT_EQ(ktx::engine::LanguageModuleName(7), nullptr);
}

}  // namespace
