// Rewrites around the engine call that keep the waveform as it is: removing earlier
// results and bringing Section 1 up to date.
#include "analysis/analysis.h"
#include "platform/errors.h"

namespace {

bool IsAnalysisSection(uint16_t id) {
  return id == 4 || id == 5 || id == 7 || id == 9 || id == 10;
}

bool KeptWithoutAnalysis(uint16_t id) {
  return id != 0 && !IsAnalysisSection(id);
}

// Whether one of the first `count` index entries is for section `id`.
bool ListedBefore(const SSectionIndexes& index, uint16_t id, uint32_t count) {
  for (uint32_t i = 0; i < count && i < index.Count; ++i) {
    const SSectionIndex* entry = index.Entry(i);
    if (entry != nullptr && entry->Id == id) return true;
  }
  return false;
}

}  // namespace

bool CAnalysis::ReserveEntries(uint32_t sections) {
  // Store entry 0 is Section 0's, which the write rebuilds.
  const uint32_t entries = sections + 1;
  if (entries <= SScpRecord::kFixedEntries) return true;
  if (entries > SScpRecord::kMaxEntries) return plat::FailWith(plat::kErrOutOfStructures);
  return Store.Allocate(static_cast<uint16_t>(entries - SScpRecord::kFixedEntries));
}

bool CAnalysis::StoreKept(bool (*keep)(uint16_t id)) {
  for (uint32_t i = 0; i < Index.Count; ++i) {
    const SSectionIndex* entry = Index.Entry(i);
    if (entry == nullptr) return plat::FailWith(plat::kErrOutOfStructures);
    if (!keep(entry->Id) || ListedBefore(Index, entry->Id, i)) continue;
    if (!StoreSection(entry->Id)) return false;
  }
  return true;
}

bool CAnalysis::OpenIndex(const char* name) {
  if (!OpenRd(name, false)) return false;
  Index.KillData();
  Loaded = static_cast<uint16_t>(Loaded & ~kSection0);
  if (!MoveTo(File, kRecordHeaderSize) || !ReadSectionIndex(File, &Index)) return false;
  Loaded |= kSection0;
  return true;
}

bool CAnalysis::RemoveAnalysisData(const char* fileName) {
  Close();
  const bool written = OpenIndex(fileName) &&
                       ReserveEntries(Index.Count > 0 ? Index.Count - 1 : 0) &&
                       StoreKept(KeptWithoutAnalysis) && WriteSections(fileName);
  Close();
  return written;
}

bool CAnalysis::UpdateTagDependants(const char* fileName) {
  return Rewrite(fileName, 0, [] { return true; });
}
