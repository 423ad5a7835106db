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
  return ktx::tables::AllocateTable(Records, Count, n, kMaxLeads);
}

bool SLeadMeasurements::AddLeads(uint16_t n) {
  return ktx::tables::AddTableEntries(Records, Count, n, kMaxLeads);
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
