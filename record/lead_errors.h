// The lead error table (Section 1 tag 200): per lead, which error markers its
// rhythm holds.
#pragma once

#include <cstdint>

#include "platform/export.h"

#pragma pack(push, 1)
// One 3-byte entry exactly as it stands in tag 200.
struct SLeadError {
  uint8_t LeadId;      // lead code
  uint16_t ErrorBits;  // bit n: the rhythm holds the marker value 2032 + n (n = 0..2)
};
#pragma pack(pop)
static_assert(sizeof(SLeadError) == 3, "lead error entry is 3 bytes in the file");

struct KTX_API SLeadErrors {
  static constexpr unsigned kMaxLeads = 254;

  SLeadError* Errors = nullptr;
  uint8_t Count = 0;

  SLeadErrors() = default;
  ~SLeadErrors();
  SLeadErrors(const SLeadErrors&) = delete;
  SLeadErrors& operator=(const SLeadErrors&) = delete;

  void KillData();
  bool Allocate(uint8_t n);
  bool AddLeads(uint8_t n);
  bool Set(const SLeadErrors* source);
  // Gives III, aVR, aVL and aVF an entry when they lack one, from those of I and II.
  bool AddCalcLeads();
};
