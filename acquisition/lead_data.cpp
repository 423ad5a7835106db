#include "acquisition/lead_data.h"

#include <new>

#include "platform/errors.h"
#include "record/codes.h"

uint8_t LeadCodeFromIndex(uint8_t leadIndex) {
  static constexpr uint8_t kCodes[] = {kLeadI,   kLeadII, kLeadIII, kLeadAVR, kLeadAVL,
                                       kLeadAVF, kLeadV1, kLeadV2,  kLeadV3,  kLeadV4,
                                       kLeadV5,  kLeadV6, 0};
  return leadIndex < sizeof(kCodes) ? kCodes[leadIndex] : 0;
}

SLeadData::~SLeadData() {
  KillData();
}

bool SLeadData::InitLeads(uint32_t count) {
  KillData();
  if (count == 0) return plat::FailWith(plat::kErrInvalidParameter);
  Samples = new (std::nothrow) int16_t[count]();
  if (Samples == nullptr) return plat::FailWith(plat::kErrOutOfMemory);
  return true;
}

void SLeadData::KillData() {
  delete[] Samples;
  Samples = nullptr;
  LeadIndex = kLeadNotSet;
  LeadId = kLeadNotSet;
}

uint8_t SLeadData::GetLeadCode() const {
  return LeadId != kLeadNotSet ? LeadId : LeadCodeFromIndex(LeadIndex);
}

SLeadObj::~SLeadObj() {
  KillLeads();
}

bool SLeadObj::InitLeads(uint8_t leads, uint32_t samples) {
  if (leads == 0 || samples == 0) return plat::FailWith(plat::kErrInvalidParameter);
  if (leads > kMaxLeads) return plat::FailWith(plat::kErrOutOfStructures);
  KillLeads();
  Leads = new (std::nothrow) SLeadData[leads];
  if (Leads == nullptr) return plat::FailWith(plat::kErrOutOfMemory);
  LeadCount = leads;
  for (unsigned i = 0; i < leads; ++i) {
    if (!Leads[i].InitLeads(samples)) {
      plat::KeepLastError keep;
      KillLeads();
      return false;
    }
  }
  FilledLeads = 0;
  return true;
}

void SLeadObj::KillLeads() {
  delete[] Leads;  // each entry's destructor releases its samples
  Leads = nullptr;
  LeadCount = 0;
  FilledLeads = 0;
}
