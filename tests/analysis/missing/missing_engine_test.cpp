// The driver in a folder without a usable engine module: no engine at all, or a
// module by its name without the entry. Either way -4 and no working copy left.
#include <gtest/gtest.h>

#include "analysis/analysis_fixture.h"

namespace test {
namespace {

using MissingEngine = AnalysisTest;

TEST_F(MissingEngine, IsUnableToUseTheModule) {
  const std::string path = Write("a.scp", BuildRecord({}));
  TestAnalysis analysis;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), ResultNotAble);
  EXPECT_EQ(EngineSaw(), "");
}

}  // namespace
}  // namespace test
