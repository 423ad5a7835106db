#include "record/lead_errors.h"

#include <cstring>

#include "record/codes.h"
#include "record/table_arrays.h"

namespace {

// III, aVR, aVL, aVF: computed from I and II, so they inherit both leads' errors.
constexpr uint8_t kDerivedLeads[] = {kLeadIII, kLeadAVR, kLeadAVL, kLeadAVF};
constexpr unsigned kDerivedCount = sizeof(kDerivedLeads);

}  // namespace

SLeadErrors::~SLeadErrors() {
  KillData();
}

void SLeadErrors::KillData() {
  delete[] Errors;
  Errors = nullptr;
  Count = 0;
}

bool SLeadErrors::Allocate(uint8_t n) {
  KillData();
  return ktx::tables::AllocateTable(Errors, Count, n, kMaxLeads);
}

bool SLeadErrors::AddLeads(uint8_t n) {
  return ktx::tables::AddTableEntries(Errors, Count, n, kMaxLeads);
}

bool SLeadErrors::Set(const SLeadErrors* source) {
  if (source == this) {
    return true;
  }
  KillData();
  if (source == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (source->Count == 0 || source->Errors == nullptr) {
    return true;
  }
  if (!Allocate(source->Count)) {
    return false;
  }
  std::memcpy(Errors, source->Errors, sizeof(SLeadError) * Count);
  return true;
}

bool SLeadErrors::AddCalcLeads() {
  bool present[kDerivedCount] = {};
  const SLeadError* leadI = nullptr;
  const SLeadError* leadII = nullptr;
  for (unsigned i = 0; Errors != nullptr && i < Count; ++i) {
    const uint8_t id = Errors[i].LeadId;
    if (id == kLeadI) {
      leadI = &Errors[i];
    } else if (id == kLeadII) {
      leadII = &Errors[i];
    }
    for (unsigned k = 0; k < kDerivedCount; ++k) {
      present[k] = present[k] || id == kDerivedLeads[k];
    }
  }
  unsigned missing = 0;
  for (bool found : present) {
    missing += found ? 0u : 1u;
  }
  if (missing == 0) {
    return true;
  }
  if (leadI == nullptr || leadII == nullptr) {
    return plat::FailWith(plat::kErrNoData);
  }
  // Taken before AddLeads moves the entries.
  const auto bits = static_cast<uint16_t>(leadI->ErrorBits | leadII->ErrorBits);
  unsigned next = Count;
  if (!AddLeads(static_cast<uint8_t>(missing))) {
    return false;
  }
  for (unsigned k = 0; k < kDerivedCount; ++k) {
    if (!present[k]) {
      Errors[next].LeadId = kDerivedLeads[k];
      Errors[next].ErrorBits = bits;
      ++next;
    }
  }
  return true;
}
