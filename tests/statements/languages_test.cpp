// The language modules as the analysis loads them: every catalogue statement behind its
// prefix, the driver statements whole, Japanese refused under Windows-1252.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

using namespace ktx::engine;  // NOLINT(google-build-using-namespace)

constexpr int kJapanese = 6;

uint32_t StringId(const StatementEntry& entry) {
  return entry.Group == StatementGroup::kDriver ? entry.Code : 1000u + entry.Code;
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
    EXPECT_EQ(RawString(module_, id), expected);

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
  }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageModule, testing::Range(0, 7));

// Every code the engine may write has an entry in its group, once; the driver
// statements 5001-5006 are there, and nothing else is.
TEST(StatementCatalogue, CoversEveryCodeAndDriverStatement) {
  using namespace code;  // NOLINT(google-build-using-namespace)
  const std::pair<StatementGroup, std::vector<uint16_t>> groups[] = {
      {StatementGroup::kRhythm,
       {kSinusRhythm,
        kSinusBradycardia,
        kSinusTachycardia,
        kSinusArrhythmia,
        kAtrialFibrillation,
        kVentricularPremature,
        kSupraventricularPremature,
        kPacedRhythm,
        kIrregularRhythm,
        kUndeterminedRhythm,
        kAtrialFlutter,
        kAtrialFlutter2To1,
        kAtrialFlutter3To1,
        kAtrialFlutter4To1,
        kJunctionalRhythm,
        kAcceleratedJunctional,
        kSupraventricularTachycardia,
        kEctopicAtrialRhythm,
        kWanderingPacemaker,
        kVentricularBigeminy,
        kVentricularTrigeminy,
        kVentricularCouplet,
        kVentricularTachycardiaRun,
        kAtrialPacedRhythm,
        kDualPacedRhythm}},
      {StatementGroup::kMorphology,
       {kNormalAxis,
        kLeftAxisDeviation,
        kRightAxisDeviation,
        kFirstDegreeAVBlock,
        kShortPR,
        kMobitzI,
        kMobitzII,
        kAVBlock2To1,
        kThirdDegreeAVBlock,
        kPreexcitation,
        kWideQRS,
        kLeftBundleBranchBlock,
        kRightBundleBranchBlock,
        kIncompleteRBBB,
        kIncompleteLBBB,
        kLeftAnteriorFascicularBlock,
        kLeftPosteriorFascicularBlock,
        kProlongedQTc,
        kShortQTc,
        kLowVoltageLimb,
        kLeftVentricularHypertrophy,
        kLowVoltagePrecordial,
        kLVHWithRepolarisation,
        kRightVentricularHypertrophy,
        kLeftAtrialEnlargement,
        kRightAtrialEnlargement,
        kSTElevationAnterior,
        kSTElevationInferior,
        kSTElevationLateral,
        kSTDepressionAnterior,
        kSTDepressionInferior,
        kSTDepressionLateral,
        kInjuryAnterior,
        kInjuryInferior,
        kInjuryLateral,
        kPosteriorInvolvement,
        kTWaveInversion,
        kEarlyRepolarisation,
        kNonspecificSTT,
        kQWavesInferior,
        kQWavesAnterior,
        kQWavesLateral,
        kNormalECG,
        kBorderlineECG,
        kAbnormalECG}}};
  size_t codes = 0;
  for (const auto& [group, members] : groups) {
    for (uint16_t c : members) {
      ASSERT_NE(FindStatement(c), nullptr) << c;
      EXPECT_EQ(FindStatement(c)->Group, group) << c;
    }
    codes += members.size();
  }
  std::set<uint32_t> ids;
  std::set<std::string> mnemonics;
  for (size_t i = 0; i < kStatementCatalogueSize; ++i) {
    EXPECT_TRUE(ids.insert(StringId(kStatementCatalogue[i])).second);
    if (kStatementCatalogue[i].Group != StatementGroup::kDriver) {
      EXPECT_TRUE(mnemonics.insert(kStatementCatalogue[i].Mnemonic).second);
    }
  }
  EXPECT_EQ(ids.size(), codes + 6);
  for (uint32_t id = 5001; id <= 5006; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
}

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
