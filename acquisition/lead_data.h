// One lead of an acquisition and the set of leads a reader fills.
#pragma once

#include <cstdint>

#include "platform/export.h"

// Identity bytes of a lead that nobody has set.
constexpr uint8_t kLeadNotSet = 255;
// LeadIndex of a lead whose position in the 12-lead order is unknown.
constexpr uint8_t kUnspecifiedLead = 12;

// SCP-ECG lead code of LeadIndex 0-12 (I, II, III, aVR, aVL, aVF, V1-V6, unspecified);
// 0 for anything beyond.
KTX_API uint8_t LeadCodeFromIndex(uint8_t leadIndex);

struct KTX_API SLeadData {
  int16_t* Samples = nullptr;
  uint8_t LeadIndex = kLeadNotSet;  // position in the standard 12-lead order, 12 unspecified
  uint8_t LeadId = kLeadNotSet;     // SCP-ECG lead code; 255: follows from LeadIndex

  SLeadData() = default;
  ~SLeadData();
  // Copies would share Samples; nothing in the library copies a lead.
  SLeadData(const SLeadData&) = delete;
  SLeadData& operator=(const SLeadData&) = delete;

  // A zero-filled buffer of `count` samples; identity bytes back to 255.
  bool InitLeads(uint32_t count);
  void KillData();

  // The lead code a consumer writes: LeadId when set, else from LeadIndex.
  uint8_t GetLeadCode() const;
};

struct KTX_API SLeadObj {
  static constexpr unsigned kMaxLeads = 254;

  SLeadData* Leads = nullptr;
  uint8_t LeadCount = 0;
  uint8_t FilledLeads = 0;  // leads filled so far; the Bio reader's next slot

  SLeadObj() = default;
  ~SLeadObj();
  SLeadObj(const SLeadObj&) = delete;
  SLeadObj& operator=(const SLeadObj&) = delete;

  // `leads` empty leads of `samples` zeroed samples each. On failure nothing stays allocated.
  bool InitLeads(uint8_t leads, uint32_t samples);
  void KillLeads();
};
