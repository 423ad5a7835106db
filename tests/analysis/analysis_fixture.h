// Records, documents folder and steering for the analysis tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"

namespace test {

// An analysis object whose protected steps the tests can reach.
struct TestAnalysis : CAnalysis {
  using CAnalysis::AddInterpretationText;
  using CAnalysis::CreateInterpretationCodesText;
  using CAnalysis::CreateInterpretationText;
  using CAnalysis::CreateSec10;
  using CAnalysis::CreateVLeads;
  using CAnalysis::TransferAnalysis;
  using CAnalysis::UpdateTagDependants;
};

// What a test record holds; the defaults make an analysable two-lead record.
struct RecordShape {
  // From an array rather than a braced list: g++ 12 at -O3 takes the list's backing store for
  // uninitialised (a false maybe-uninitialized).
  static constexpr uint8_t kTwoLeads[] = {1, 2};
  std::vector<uint8_t> Leads{std::begin(kTwoLeads),
                             std::end(kTwoLeads)};  // lead codes, 8 samples each
  bool WithSection1 = true;
  std::vector<uint8_t> SkipTags;  // of 14, 25 and 26
  std::string Text;               // tag 13, interpretation text
  uint8_t Modified = 0;           // first byte of tag 201
  uint8_t Confirmed = 0;          // tag 204
  bool Demographics = false;      // birth date, height, weight and sex
  bool WithRhythm = true;
  int16_t Marker = 0;                             // a sample of lead 1 set to it when non-zero
  int16_t SecondMarker = 0;                       // a sample of the last lead
  std::vector<std::pair<uint16_t, Bytes>> Extra;  // further sections
};

// The rhythm sample s of lead `code` in the test records.
inline int16_t RhythmSample(uint8_t code, unsigned s) {
  return static_cast<int16_t>(code * 31 + static_cast<int>(s) * 5 - 40);
}

// The default shape as `change` leaves it.
inline RecordShape Shaped(const std::function<void(RecordShape&)>& change) {
  RecordShape shape;
  change(shape);
  return shape;
}

Bytes BuildRecord(const RecordShape& shape);

class AnalysisTest : public ::testing::Test {
 protected:
  AnalysisTest();
  ~AnalysisTest() override;
  // No working copy is left behind, whatever the test did. Under Windows the documents
  // folder is the user's own: copies an earlier, killed process left there are not this
  // test's, and an analysis may have removed them.
  void TearDown() override {
    for (const std::string& name : WorkingCopies()) EXPECT_EQ(leftBefore.count(name), 1u) << name;
  }

  // Steers the test engine; without a call it writes its default results.
  void Steer(const std::string& mode, const std::string& codes = "");
  // The "~KT" files in the documents folder.
  std::set<std::string> WorkingCopies() const;
  // The working copy's leads and mode as the engine saw them ("" when not called).
  std::string EngineSaw() const;

  std::string Write(const std::string& name, const Bytes& bytes) const {
    return folder.Write(name, bytes);
  }

  TempFolder folder;
  std::string documents;
  std::set<std::string> leftBefore;
};

// The interpretation text of a file, as UTF-8 ("" when none).
std::string InterpretationText(const std::string& path, uint8_t* confirmed = nullptr,
                               uint8_t* modified = nullptr);

}  // namespace test
