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

// The sections whose layout this library reads and writes itself: only their CRCs are
// verified and only their headers get a section version. The others (2, 4, 8, 11, 12
// and up) are carried as they are.
constexpr bool IsHandledSection(uint16_t id) {
  switch (id) {
    case 0:
    case 1:
    case 3:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
      return true;
    default:
      return false;
  }
}

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
