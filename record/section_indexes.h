// The Section 0 pointer table: twelve fixed entries and a growable tail.
#pragma once

#include <cstdint>

#include "platform/export.h"

#pragma pack(push, 1)
// One 10-byte pointer entry exactly as it stands in Section 0.
struct SSectionIndex {
  uint16_t Id;
  uint32_t Length;  // 0: section absent
  uint32_t Index;   // 1-based byte position in the record; 0: section absent
};
#pragma pack(pop)
static_assert(sizeof(SSectionIndex) == 10, "pointer entry is 10 bytes in the file");

struct KTX_API SSectionIndexes {
  static constexpr uint32_t kFixedEntries = 12;
  static constexpr uint32_t kMaxFurther = 255;

  uint32_t Count = 0;
  uint32_t Extra = 0;
  SSectionIndex Fixed[kFixedEntries] = {};
  SSectionIndex* Further = nullptr;

  SSectionIndexes() = default;
  ~SSectionIndexes();
  SSectionIndexes(const SSectionIndexes&) = delete;
  SSectionIndexes& operator=(const SSectionIndexes&) = delete;

  void KillDynamic();
  void KillData();
  bool Allocate(uint32_t n);
  bool AddIndex(uint32_t n);

  // Entry i in table order (fixed first); null beyond what is held.
  SSectionIndex* Entry(uint32_t i);
  const SSectionIndex* Entry(uint32_t i) const;
};
