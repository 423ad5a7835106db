// The editing cycle: read Section 0 and Section 1, let the operation change the
// members, rebuild what it changed, copy every other section byte for byte and
// recreate the file. Nothing is written unless every step before the write succeeded.
#include "format/section1.h"
#include "platform/errors.h"
#include "writer/section_rewrite.h"
#include "writer/writer.h"

namespace {

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
  Clear(kAllSections);
  Store.KillData();
  if (!OpenIndexed(name)) return fail();
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

  CSectionRewrite rewrite(*this);
  // One store entry per indexed section, and one more for a Section 1 the file lacks.
  uint32_t entries = Index.Count;
  if (!CSectionRewrite::ListedBefore(Index, 1, Index.Count)) ++entries;
  if (!rewrite.Reserve(entries)) return fail();

  if (!CreateSec1()) return fail();
  if (IsRebuilt(3, rebuilt) && !CreateSec3_6()) return fail();
  if (IsRebuilt(5, rebuilt) && (Loaded & kSection5) && !CreateSec5()) return fail();

  // A number listed twice is kept once: every reader uses the first entry, and a
  // second copy of Sections 2-11 would count in the record length unwritten.
  if (!rewrite.KeepSections(
          [rebuilt](uint16_t id) { return id >= 2 && !IsRebuilt(id, rebuilt); })) {
    return fail();
  }
  return rewrite.Commit(name);
}
