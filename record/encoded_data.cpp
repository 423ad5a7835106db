#include "record/encoded_data.h"

#include <cstring>

#include "record/table_arrays.h"

using ktx::tables::NewZeroed;

SEncodedData::~SEncodedData() {
  KillLeads();
}

void SEncodedData::KillLeads() {
  if (LeadSamples != nullptr) {
    for (unsigned i = 0; i < LeadCount; ++i) {
      delete[] LeadSamples[i];
    }
  }
  delete[] LeadSamples;
  LeadSamples = nullptr;
  delete[] SampleCounts;
  SampleCounts = nullptr;
  LeadCount = 0;
}

void SEncodedData::KillData() {
  AVM = 0;
  SampleInterval = 0;
  Encoding = 0;
  Bimodal = 0;
  KillLeads();
}

bool SEncodedData::Allocate(uint8_t n) {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (n > kMaxLeads) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  KillLeads();
  LeadSamples = NewZeroed<int16_t*>(n);
  SampleCounts = NewZeroed<uint16_t>(n);
  if (LeadSamples == nullptr || SampleCounts == nullptr) {
    KillLeads();
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  LeadCount = n;
  return true;
}

bool SEncodedData::AddLeads(uint8_t n) {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  const unsigned total = unsigned{LeadCount} + n;
  if (total > kMaxLeads) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  // Both arrays are made before either replaces the old one, so a failure leaves
  // the table as it was.
  int16_t** samples = NewZeroed<int16_t*>(total);
  uint16_t* counts = NewZeroed<uint16_t>(total);
  if (samples == nullptr || counts == nullptr) {
    delete[] samples;
    delete[] counts;
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  if (LeadCount != 0 && LeadSamples != nullptr && SampleCounts != nullptr) {
    std::memcpy(samples, LeadSamples, sizeof(int16_t*) * LeadCount);
    std::memcpy(counts, SampleCounts, sizeof(uint16_t) * LeadCount);
  }
  delete[] LeadSamples;
  delete[] SampleCounts;
  LeadSamples = samples;
  SampleCounts = counts;
  LeadCount = static_cast<uint8_t>(total);
  return true;
}

bool SEncodedData::AllocateLead(uint8_t lead, uint16_t samples) {
  if (LeadSamples == nullptr || SampleCounts == nullptr) {
    return plat::FailWith(plat::kErrNoData);
  }
  if (samples == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (lead >= LeadCount) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  delete[] LeadSamples[lead];
  LeadSamples[lead] = NewZeroed<int16_t>(samples);
  if (LeadSamples[lead] == nullptr) {
    SampleCounts[lead] = 0;
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  SampleCounts[lead] = samples;
  return true;
}

void SEncodedData::FreeLead(uint8_t lead) {
  if (lead >= LeadCount || LeadSamples == nullptr || LeadSamples[lead] == nullptr) {
    return;
  }
  delete[] LeadSamples[lead];
  LeadSamples[lead] = nullptr;
  if (SampleCounts != nullptr) {
    SampleCounts[lead] = 0;
  }
}
