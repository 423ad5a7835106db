// Copies of an analysis object own what they copied: the writer part (records, tables,
// section store, writer identity) and the three flags.
#include <gtest/gtest.h>

#include <memory>

#include "analysis_fixture.h"
#include "platform/errors.h"
#include "writer/written_tags.h"

namespace test {
namespace {

struct CopyProbe : CAnalysis {
  using CAnalysis::Close;
  using CAnalysis::CreateSec1;
  using CAnalysis::CreateSec3_6;
  using CAnalysis::Store;
  using CAnalysis::WriteSections;
};

using Copying = AnalysisTest;

// The source's loaded record and store, copied twice over (construction, then
// assignment onto a writer that held another record) and written by the last copy
// after the middle one is gone, give the record the source itself writes.
TEST_F(Copying, CopiesWriteWhatTheSourceWrites) {
  const std::string path = Write("in.scp", BuildRecord(Shaped([](auto& s) {
                                   s.Text = "Sinus";
                                   s.Demographics = true;
                                   s.Extra = {{12, Bytes(4, 12)}};
                                 })));
  CopyProbe source;
  source.GenerateAnalysisText = true;
  source.ShortStatementPrefix = true;
  source.SelectWriter(Wide("Host").c_str(), Wide("2.0").c_str());
  uint16_t loaded = 0;
  ASSERT_TRUE(source.Load(path.c_str(), &loaded, kAllSections));
  ASSERT_TRUE(source.Store.Allocate(2));
  ASSERT_TRUE(source.CreateSec1());
  ASSERT_TRUE(source.CreateSec3_6());

  CopyProbe assigned;
  ASSERT_TRUE(
      assigned.Load(Write("other.scp", BuildRecord(RecordShape())).c_str(), &loaded, kAllSections));
  auto copy = std::make_unique<CopyProbe>(source);
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);
  assigned = *copy;
  EXPECT_EQ(plat::LastError(), plat::kErrSuccess);
  copy.reset();

  EXPECT_TRUE(assigned.GenerateAnalysisText && assigned.ShortStatementPrefix);
  EXPECT_FALSE(assigned.GeneratePatientWarningText);
  EXPECT_EQ(assigned.Loaded, source.Loaded);
  ASSERT_EQ(assigned.Rhythm.LeadCount, source.Rhythm.LeadCount);
  EXPECT_NE(assigned.Rhythm.LeadSamples[0], source.Rhythm.LeadSamples[0]);
  const std::string fromSource = folder.File("source.scp");
  const std::string fromCopy = folder.File("copy.scp");
  ASSERT_TRUE(source.WriteSections(fromSource.c_str()));
  ASSERT_TRUE(assigned.WriteSections(fromCopy.c_str()));
  source.Close();
  assigned.Close();
  EXPECT_EQ(ReadWholeFile(fromCopy), ReadWholeFile(fromSource));
  EXPECT_EQ(InterpretationText(fromCopy), "Sinus");
}

}  // namespace
}  // namespace test
