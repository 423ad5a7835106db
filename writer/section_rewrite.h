// One rewrite of a record, the way every changing operation makes it: open the file and
// read Section 0, reserve the store entries, keep sections byte for byte, put the new
// ones (through the writer's builders) and commit. The commit is the writer's whole-file
// write: room made first, then the record written, cut to length and flushed; nothing is
// written unless every step before it succeeded.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/errors.h"
#include "platform/export.h"
#include "writer/writer.h"

class KTX_API CSectionRewrite {
 public:
  explicit CSectionRewrite(CWriter& writer) : writer_(writer) {}

  // Opens `name` and reads its Section 0 into the writer's index.
  bool Open(const char* name) { return writer_.OpenIndexed(name); }
  // Store entries for `entries` sections, Section 0's included.
  bool Reserve(uint32_t entries);
  // Copies, in index order, every section of the open file whose number `keep` accepts;
  // a number listed twice is kept once (readers use the first entry).
  template <typename Keep>
  bool KeepSections(Keep keep) {
    const SSectionIndexes& index = writer_.Index;
    for (uint32_t i = 0; i < index.Count; ++i) {
      const SSectionIndex* entry = index.Entry(i);
      if (entry == nullptr) return plat::FailWith(plat::kErrOutOfStructures);
      if (!keep(entry->Id) || ListedBefore(index, entry->Id, i)) continue;
      if (!writer_.StoreSection(entry->Id)) return false;
    }
    return true;
  }
  // The numbers of the present sections `keep` accepts, each once, in index order.
  // False (84) on a broken index. Allocation failure throws std::bad_alloc.
  template <typename Keep>
  bool PresentSections(Keep keep, std::vector<uint16_t>* ids) const {
    const SSectionIndexes& index = writer_.Index;
    for (uint32_t i = 0; i < index.Count; ++i) {
      const SSectionIndex* entry = index.Entry(i);
      if (entry == nullptr) return plat::FailWith(plat::kErrOutOfStructures);
      if (entry->Length == 0 || !keep(entry->Id)) continue;
      if (std::find(ids->begin(), ids->end(), entry->Id) == ids->end()) ids->push_back(entry->Id);
    }
    return true;
  }
  // Writes the record to `name`; the writer is closed whatever the outcome.
  bool Commit(const char* name);

  // Whether one of the first `count` index entries is for section `id`.
  static bool ListedBefore(const SSectionIndexes& index, uint16_t id, uint32_t count);

 private:
  CWriter& writer_;
};
