// Rewrites around the engine call that keep the waveform as it is: removing earlier
// results and bringing Section 1 up to date.
#include "analysis/analysis.h"
#include "platform/errors.h"
#include "writer/section_rewrite.h"

namespace {

bool KeptWithoutAnalysis(uint16_t id) {
  return id != 0 && !IsAnalysisSection(id);
}

}  // namespace

bool CAnalysis::ReserveEntries(uint32_t sections) {
  // Store entry 0 is Section 0's, which the write rebuilds.
  const uint32_t entries = sections + 1;
  if (entries > SScpRecord::kMaxEntries) return plat::FailWith(plat::kErrOutOfStructures);
  return CSectionRewrite(*this).Reserve(entries);
}

bool CAnalysis::StoreKept(bool (*keep)(uint16_t id)) {
  return CSectionRewrite(*this).KeepSections(keep);
}

bool CAnalysis::RemoveAnalysisData(const char* fileName) {
  Close();
  CSectionRewrite rewrite(*this);
  const bool written = rewrite.Open(fileName) &&
                       ReserveEntries(Index.Count > 0 ? Index.Count - 1 : 0) &&
                       rewrite.KeepSections(KeptWithoutAnalysis) && rewrite.Commit(fileName);
  Close();
  return written;
}

bool CAnalysis::UpdateTagDependants(const char* fileName) {
  return Rewrite(fileName, 0, [] { return true; });
}
