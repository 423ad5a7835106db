#include "record/lead_definitions.h"

#include "record/table_arrays.h"

namespace {

// Start samples are 1-based, so an entry starting at sample 0 holds no samples.
// A first such entry makes the whole table count as empty. Sets the last-error code.
bool HasSamples(const SLeadDef* leads, unsigned count) {
  if (leads == nullptr) {
    return plat::FailWith(plat::kErrNoData);
  }
  plat::SetLastError(plat::kErrSuccess);
  return count != 0 && leads[0].StartSample != 0;
}

}  // namespace

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
  return ktx::tables::AllocateTable(Leads, Count, n, kMaxLeads);
}

bool SLeadDefinitions::AddLeads(uint8_t n) {
  return ktx::tables::AddTableEntries(Leads, Count, n, kMaxLeads);
}

bool SLeadDefinitions::Set(const SLeadDefinitions* source) {
  if (!ktx::tables::CopyTable(*this, source, &SLeadDefinitions::Leads)) {
    return false;
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

// Later entries starting at sample 0 are left out of the minimum and the maximum
// rather than letting them reset the scan.
uint32_t SLeadDefinitions::GetMinSample() const {
  if (!HasSamples(Leads, Count)) {
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
  if (!HasSamples(Leads, Count)) {
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
