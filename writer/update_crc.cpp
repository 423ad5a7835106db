// Repairing every checksum of a file: its sections are kept byte for byte apart from
// their CRCs, and Section 0 and the record header are rebuilt.
#include "format/section_header.h"
#include "platform/errors.h"
#include "writer/section_rewrite.h"
#include "writer/writer.h"

bool CWriter::UpdateCRC(const char* name) {
  auto fail = [this] {
    Close();
    return false;
  };
  Clear(kAllSections);
  Store.KillData();
  CSectionRewrite rewrite(*this);
  if (!rewrite.Open(name) || !rewrite.Reserve(Index.Count)) return fail();
  auto IsStored = [this](uint16_t id) {
    for (uint16_t entry = 1; entry < Store.Used; ++entry) {
      if (Store.Id(entry) == id) return true;
    }
    return false;
  };
  for (uint32_t i = 1; i < Index.Count; ++i) {
    const SSectionIndex* entry = Index.Entry(i);
    if (entry == nullptr) {
      plat::SetLastError(plat::kErrOutOfStructures);
      return fail();
    }
    if (i < SSectionIndexes::kFixedEntries && entry->Id == 0) continue;
    // A number listed twice is kept once: the first entry is the one every reader uses,
    // and a second copy would count in the record length without being written.
    if (IsStored(entry->Id)) continue;
    if (!StoreSection(entry->Id)) return fail();
  }
  for (uint16_t entry = 1; entry < Store.Used; ++entry) {
    uint8_t* section = Store.Data(entry);
    const uint32_t length = Store.Length(entry);
    if (Store.Id(entry) == 0 || section == nullptr || length <= 2) continue;
    SealSection(section, length);
  }
  return rewrite.Commit(name);
}
