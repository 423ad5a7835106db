// Real ECGs (tests/engine/ludb, see its README): the intervals the analysis measures
// against the medians of the cardiologists' marks, and the statements it must make.
// The global QRS runs from the earliest onset to the latest offset of any lead, so it
// must lie between lead II's QRS and the 12-lead one; QT and PR within clinical reach
// of the 12-lead ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/analysis.h"
#include "engine/ludb_signal.h"
#include "engine/statement_codes.h"

namespace {

using namespace ktx::engine::code;  // NOLINT(google-build-using-namespace)

constexpr int kNoP = -1, kAnyP = -2;  // as PR: no P wave may be reported, or not checked

struct Fixture {
  const char* Id;
  std::vector<int> Marks;  // the marks' medians, ms: QRS in II and in all 12, QT, PR
  std::vector<uint16_t> Stated, NotStated;
};

const Fixture kFixtures[] = {
    {"135",
     {90, 104, 373, 150},
     {kSinusRhythm, kNormalECG},
     {kSTDepressionAnterior, kSTDepressionInferior, kSTDepressionLateral, kSTElevationAnterior,
      kEarlyRepolarisation, kNonspecificSTT, kIncompleteRBBB, kShortQTc}},
    {"83",
     {134, 206, 521, kAnyP},
     {kLeftBundleBranchBlock, kVentricularCouplet},
     {kRightBundleBranchBlock, kLeftAnteriorFascicularBlock}},
    {"108",
     {82, 158, 425, 190},
     {kRightBundleBranchBlock, kLeftAtrialEnlargement},
     {kLeftBundleBranchBlock, kMobitzI, kMobitzII}},
    {"112",
     {88, 108, 368, kNoP},
     {kAtrialFibrillation},
     {kSinusRhythm, kSinusArrhythmia, kAtrialFlutter}},
    {"90", {144, 174, 484, kNoP}, {kPacedRhythm}, {kAtrialFibrillation, kWideQRS}},
    {"87", {94, 110, 376, 132}, {kSinusRhythm}, {kSinusTachycardia, kWanderingPacemaker}},
    {"103", {91, 118, 424, kNoP}, {kAtrialFlutter}, {kAtrialFibrillation, kSinusRhythm}},
    {"60",
     {104, 127, 464, 198},
     {kLeftAnteriorFascicularBlock},
     {kLeftAxisDeviation, kRightBundleBranchBlock}},
};

bool Has(const ktx::engine::Statements& s, uint16_t c) {
  return std::count(s.Rhythm.begin(), s.Rhythm.end(), c) +
             std::count(s.Morphology.begin(), s.Morphology.end(), c) >
         0;
}

TEST(LudbRecords, MeasureWhatTheCardiologistsMarkedAndSayWhatTheyDiagnosed) {
  for (const Fixture& x : kFixtures) {
    testgen::LudbSignal record;
    ASSERT_TRUE(testgen::ReadLudb(std::string(KTX_LUDB_FIXTURES) + "/" + x.Id, &record)) << x.Id;
    ktx::engine::Analysis a = ktx::engine::Analyse(record, true);
    ASSERT_EQ(a.Result, ktx::engine::kResultOk) << x.Id;
    a.Found.Sex = record.Sex;
    a.Found.AgeYears = record.Age;
    const ktx::engine::Findings& f = a.Found;
    const int qrsII = x.Marks[0], qrs12 = x.Marks[1], qt12 = x.Marks[2], pr12 = x.Marks[3];
    EXPECT_GE(f.QRSDuration, qrsII - 10) << x.Id;
    EXPECT_LE(f.QRSDuration, qrs12 + 15) << x.Id;
    EXPECT_GE(f.QTInterval, qt12 - 50) << x.Id;
    EXPECT_LE(f.QTInterval, qt12 + 20) << x.Id;
    if (pr12 != kAnyP) {
      EXPECT_EQ(f.PWavePresent, pr12 != kNoP) << x.Id;
    }
    if (pr12 > 0) {
      EXPECT_NEAR(f.PRInterval, pr12, 25) << x.Id;
    }
    const ktx::engine::Statements s = ktx::engine::Interpret(f);
    for (uint16_t c : x.Stated) EXPECT_TRUE(Has(s, c)) << x.Id << " should state " << c;
    for (uint16_t c : x.NotStated) EXPECT_FALSE(Has(s, c)) << x.Id << " should not state " << c;
  }
}

}  // namespace
