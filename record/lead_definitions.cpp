#include "record/lead_definitions.h"

#include <cstring>

#include "record/table_arrays.h"

SLeadDefinitions::~SLeadDefinitions() {
  KillLeads();
}

void SLeadDefinitions::KillLeads() {
  delete[] Leads;
  Leads = nullptr;
}

void SLeadDefinitions::KillData() {
  KillLeads();
  Count = 0;
  Flags = 0;
}

bool SLeadDefinitions::Allocate(uint8_t n) {
  KillLeads();
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (n > kMaxLeads) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  Leads = ktx::tables::NewZeroed<SLeadDef>(n);
  if (Leads == nullptr) {
    Count = 0;
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Count = n;
  return true;
}

bool SLeadDefinitions::AddLeads(uint8_t n) {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (unsigned{Count} + n > kMaxLeads) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  if (!ktx::tables::GrowZeroed(Leads, Count, n)) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Count = static_cast<uint8_t>(Count + n);
  return true;
}

bool SLeadDefinitions::Set(const SLeadDefinitions* source) {
  if (source == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (source == this) {
    return true;
  }
  if (!Allocate(source->Count)) {
    return false;
  }
  if (source->Leads != nullptr) {
    std::memcpy(Leads, source->Leads, sizeof(SLeadDef) * Count);
  }
  Flags = source->Flags;
  return true;
}

SLeadDef* SLeadDefinitions::GetLeadFromId(int16_t id) {
  if (Leads == nullptr) {
    plat::FailWith(plat::kErrNoData);
    return nullptr;
  }
  plat::SetLastError(plat::kErrSuccess);
  const auto code = static_cast<uint8_t>(id & 0xFF);
  for (unsigned i = 0; i < Count; ++i) {
    if (Leads[i].LeadId == code) {
      return &Leads[i];
    }
  }
  return nullptr;
}

const SLeadDef* SLeadDefinitions::GetLeadFromId(int16_t id) const {
  return const_cast<SLeadDefinitions*>(this)->GetLeadFromId(id);
}

int16_t SLeadDefinitions::GetIdIndexFromId(int16_t id) const {
  if (Leads == nullptr) {
    plat::FailWith(plat::kErrNoData);
    return kNoLead;
  }
  if (id > 255) {
    plat::FailWith(plat::kErrInvalidParameter);
    return kNoLead;
  }
  plat::SetLastError(plat::kErrSuccess);
  for (unsigned i = 0; i < Count; ++i) {
    if (Leads[i].LeadId == id) {
      return static_cast<int16_t>(i);
    }
  }
  return kNoLead;
}

// Start samples are 1-based, so an entry starting at sample 0 holds no samples.
// A first such entry makes the whole table count as empty; later ones are left
// out of the minimum and the maximum rather than letting them reset the scan.
uint32_t SLeadDefinitions::GetMinSample() const {
  if (Leads == nullptr) {
    plat::FailWith(plat::kErrNoData);
    return 0;
  }
  plat::SetLastError(plat::kErrSuccess);
  if (Count == 0 || Leads[0].StartSample == 0) {
    return 0;
  }
  uint32_t least = Leads[0].StartSample;
  for (unsigned i = 1; i < Count; ++i) {
    const uint32_t start = Leads[i].StartSample;
    if (start != 0 && start < least) {
      least = start;
    }
  }
  return least;
}

uint32_t SLeadDefinitions::GetMaxSample() const {
  if (Leads == nullptr) {
    plat::FailWith(plat::kErrNoData);
    return 0;
  }
  plat::SetLastError(plat::kErrSuccess);
  if (Count == 0 || Leads[0].StartSample == 0) {
    return 0;
  }
  uint32_t most = Leads[0].EndSample;
  for (unsigned i = 1; i < Count; ++i) {
    if (Leads[i].StartSample != 0 && Leads[i].EndSample > most) {
      most = Leads[i].EndSample;
    }
  }
  return most;
}

uint32_t SLeadDefinitions::GetSamples() const {
  const uint32_t first = GetMinSample();
  const uint32_t last = GetMaxSample();
  // A last sample before the first one is as unusable as a missing one.
  if (first == 0 || last == 0 || last < first) {
    plat::FailWith(plat::kErrInvalidData);
    return 0;
  }
  plat::SetLastError(plat::kErrSuccess);
  return last - first + 1;
}
