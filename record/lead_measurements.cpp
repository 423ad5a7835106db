#include "record/lead_measurements.h"

#include <cstring>

#include "record/table_arrays.h"

SLeadMeasurements::~SLeadMeasurements() {
  KillLeads();
}

void SLeadMeasurements::KillLeads() {
  delete[] Records;
  Records = nullptr;
  Count = 0;
}

void SLeadMeasurements::KillData() {
  RecordSize = kRecordSize;
  KillLeads();
}

bool SLeadMeasurements::Allocate(uint16_t n) {
  KillLeads();
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (n > kMaxLeads) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  Records = ktx::tables::NewZeroed<SLeadMeasurement>(n);
  if (Records == nullptr) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Count = n;
  return true;
}

bool SLeadMeasurements::AddLeads(uint16_t n) {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (unsigned{Count} + n > kMaxLeads) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  if (!ktx::tables::GrowZeroed(Records, Count, n)) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Count = static_cast<uint16_t>(Count + n);
  return true;
}

bool SLeadMeasurements::Set(const SLeadMeasurements* source) {
  if (source == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (source == this) {
    return true;
  }
  if (!Allocate(source->Count)) {
    return false;
  }
  if (source->Records != nullptr) {
    std::memcpy(Records, source->Records, sizeof(SLeadMeasurement) * Count);
  }
  RecordSize = source->RecordSize;
  return true;
}
