// The lead definitions of Section 3: which leads a record holds and where each
// one's samples lie in the rhythm.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

#pragma pack(push, 1)
// One 9-byte lead definition exactly as it stands in Section 3.
struct SLeadDef {
  uint32_t StartSample;  // 1-based number of the lead's first sample
  uint32_t EndSample;    // its last sample
  uint8_t LeadId;        // lead code of the SCP-ECG lead table
};
#pragma pack(pop)
static_assert(sizeof(SLeadDef) == 9, "lead definition is 9 bytes in the file");

struct KTX_API SLeadDefinitions {
  static constexpr unsigned kMaxLeads = 254;
  // Answer of GetIdIndexFromId for a lead that is not there.
  static constexpr int16_t kNoLead = 256;

  // Count and Flags are the first two bytes of the Section 3 body, read as one unit.
  uint8_t Count = 0;
  uint8_t Flags = 0;  // bit 0 reference beat subtracted, bit 2 simultaneous, bits 3-7 how many
  SLeadDef* Leads = nullptr;

  SLeadDefinitions() = default;
  ~SLeadDefinitions();
  SLeadDefinitions(const SLeadDefinitions&) = delete;
  SLeadDefinitions& operator=(const SLeadDefinitions&) = delete;

  void KillLeads();
  void KillData();
  bool Allocate(uint8_t n);
  bool AddLeads(uint8_t n);
  bool Set(const SLeadDefinitions* source);

  SLeadDef* GetLeadFromId(int16_t id);
  const SLeadDef* GetLeadFromId(int16_t id) const;
  int16_t GetIdIndexFromId(int16_t id) const;
  uint32_t GetMinSample() const;
  uint32_t GetMaxSample() const;
  uint32_t GetSamples() const;
};
static_assert(offsetof(SLeadDefinitions, Flags) == offsetof(SLeadDefinitions, Count) + 1,
              "Count and Flags are read as one 16-bit unit");
