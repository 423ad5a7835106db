// Sample data of Section 5 (reference beats) or Section 6 (rhythm): the scaling
// header and one buffer of 16-bit samples per lead. Lead i is lead i of the lead
// definitions it was read with.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

struct KTX_API SEncodedData {
  static constexpr unsigned kMaxLeads = 254;
  static constexpr size_t kHeaderSize = 6;

  // The six header bytes of the section body, read and written as one block.
  uint16_t AVM = 0;             // nanovolts per sample unit
  uint16_t SampleInterval = 0;  // microseconds between samples
  uint8_t Encoding = 0;         // difference-data byte; samples are kept as stored
  uint8_t Bimodal = 0;          // bimodal compression flag (Section 6), reserved (Section 5)

  uint16_t* SampleCounts = nullptr;  // per lead; 0 when the lead has no buffer
  int16_t** LeadSamples = nullptr;   // per lead, SampleCounts[i] samples or null
  uint8_t LeadCount = 0;

  SEncodedData() = default;
  ~SEncodedData();
  SEncodedData(const SEncodedData&) = delete;
  SEncodedData& operator=(const SEncodedData&) = delete;

  void KillLeads();
  void KillData();
  bool Allocate(uint8_t n);
  bool AddLeads(uint8_t n);
  // Gives the lead a fresh zeroed buffer of `samples` samples.
  bool AllocateLead(uint8_t lead, uint16_t samples);
  void FreeLead(uint8_t lead);
};
static_assert(offsetof(SEncodedData, AVM) == 0 && offsetof(SEncodedData, SampleInterval) == 2 &&
                  offsetof(SEncodedData, Encoding) == 4 && offsetof(SEncodedData, Bimodal) == 5,
              "the header fields are the six header bytes in file order");
