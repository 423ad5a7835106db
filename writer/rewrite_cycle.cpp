// The editing cycle: read Section 0 and Section 1, let the operation change the
// members, rebuild what it changed, copy every other section byte for byte and
// recreate the file. Nothing is written unless every step before the write succeeded.
#include "platform/errors.h"
#include "reader/section_parsers.h"
#include "writer/writer.h"

namespace {

// Whether one of the first `count` index entries is for section `id`.
bool Lists(const SSectionIndexes& index, uint16_t id, uint32_t count) {
  for (uint32_t i = 0; i < count && i < index.Count; ++i) {
    const SSectionIndex* entry = index.Entry(i);
    if (entry != nullptr && entry->Id == id) return true;
  }
  return false;
}

bool IsRebuilt(uint16_t id, uint16_t rebuilt) {
  return id < 16 && (rebuilt & (1u << id)) != 0;
}

}  // namespace

bool CWriter::BeginRewrite(const char* name) {
  UpdateMode = true;
  auto fail = [this] {
    Close();
    return false;
  };
  if (!OpenRd(name, false)) return fail();
  Clear(kAllSections);
  Store.KillData();
  if (!MoveTo(File, kRecordHeaderSize) || !ReadSectionIndex(File, &Index)) return fail();
  Loaded |= kSection0;
  uint8_t header[kSectionHeaderSize];
  if (FindSection(File, &Index, 1, header)) {
    if (!ParseSection1(File, header, &Patient, &Recording, &LeadErrors, &General, &UnknownTags,
                       &RequiredTags)) {
      return fail();
    }
  } else if (plat::LastError() != plat::kErrSuccess) {
    return fail();
  }
  // Without a Section 1 the records stay at their defaults and a new one is built.
  Loaded |= kSection1;
  return true;
}

bool CWriter::EndRewrite(const char* name, uint16_t rebuilt, bool changed) {
  auto fail = [this] {
    Close();
    return false;
  };
  if (!changed) return fail();

  // One store entry per indexed section, and one more for a Section 1 the file lacks.
  uint32_t entries = Index.Count;
  if (!Lists(Index, 1, Index.Count)) ++entries;
  if (entries > SScpRecord::kFixedEntries) {
    // At most 12 + 255 + 1 entries, so the count fits; Allocate refuses 256 and more.
    if (!Store.Allocate(static_cast<uint16_t>(entries - SScpRecord::kFixedEntries))) {
      return fail();
    }
  }

  if (!CreateSec1()) return fail();
  if (IsRebuilt(3, rebuilt) && !CreateSec3_6()) return fail();
  if (IsRebuilt(5, rebuilt) && (Loaded & kSection5) && !CreateSec5()) return fail();

  for (uint32_t i = 0; i < Index.Count; ++i) {
    const SSectionIndex* entry = Index.Entry(i);
    if (entry == nullptr) {
      plat::SetLastError(plat::kErrOutOfStructures);
      return fail();
    }
    const uint16_t id = entry->Id;
    // A number listed twice is kept once: every reader uses the first entry, and a
    // second copy of Sections 2-11 would count in the record length unwritten.
    if (id < 2 || IsRebuilt(id, rebuilt) || Lists(Index, id, i)) continue;
    if (!StoreSection(id)) return fail();
  }
  const bool written = WriteSections(name);
  Close();
  return written;
}
