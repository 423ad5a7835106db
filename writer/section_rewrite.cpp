#include "writer/section_rewrite.h"

bool CSectionRewrite::Reserve(uint32_t entries) {
  if (entries <= SScpRecord::kFixedEntries) return true;
  // The store refuses 256 further entries and more itself (84).
  const uint32_t further = std::min<uint32_t>(entries - SScpRecord::kFixedEntries, 0xFFFF);
  return writer_.Store.Allocate(static_cast<uint16_t>(further));
}

bool CSectionRewrite::Commit(const char* name) {
  const bool written = writer_.WriteSections(name);
  writer_.Close();
  return written;
}

bool CSectionRewrite::ListedBefore(const SSectionIndexes& index, uint16_t id, uint32_t count) {
  for (uint32_t i = 0; i < count && i < index.Count; ++i) {
    const SSectionIndex* entry = index.Entry(i);
    if (entry != nullptr && entry->Id == id) return true;
  }
  return false;
}
