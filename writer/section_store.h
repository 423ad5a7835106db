// The writer's section store: complete sections (16-byte header first) in the order
// they were stored. Entry 0 is Section 0; entries 12 and up live in growable arrays.
#pragma once

#include <cstdint>

#include "platform/export.h"

struct KTX_API SScpRecord {
  static constexpr uint16_t kFixedEntries = 12;
  static constexpr uint16_t kMaxEntries = 255;  // Section 0 and 254 others

  uint8_t* FixedData[kFixedEntries] = {};
  uint32_t FixedLengths[kFixedEntries] = {};
  uint16_t FixedIds[kFixedEntries] = {};
  uint16_t Used = 1;  // entries in use, Section 0's included
  uint8_t** DynamicData = nullptr;
  uint32_t* DynamicLengths = nullptr;
  uint16_t* DynamicIds = nullptr;
  uint16_t DynamicCapacity = 0;

  SScpRecord();
  ~SScpRecord();
  SScpRecord(const SScpRecord&) = delete;
  SScpRecord& operator=(const SScpRecord&) = delete;

  void KillDynamic();
  void KillData();
  bool Allocate(uint16_t n);
  bool AddSections(uint16_t n);

  // Whether entry n exists (fixed, or dynamic within the capacity).
  bool Has(uint16_t entry) const;
  // The fields of an existing entry (check Has first).
  uint8_t*& Data(uint16_t entry);
  uint32_t& Length(uint16_t entry);
  uint16_t& Id(uint16_t entry);
  // Frees the entry's buffer and leaves it empty (null, length 0, section 0).
  void ClearEntry(uint16_t entry);
};
