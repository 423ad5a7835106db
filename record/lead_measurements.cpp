#include "record/lead_measurements.h"

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
  if (!ktx::tables::CopyTable(*this, source, &SLeadMeasurements::Records)) {
    return false;
  }
  RecordSize = source->RecordSize;
  return true;
}
