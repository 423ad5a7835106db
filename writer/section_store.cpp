#include "writer/section_store.h"

#include <cstdlib>
#include <cstring>

#include "platform/errors.h"

namespace {

template <typename T>
T* ZeroedArray(size_t count) {
  return static_cast<T*>(std::calloc(count, sizeof(T)));
}

}  // namespace

SScpRecord::SScpRecord() {
  KillData();
}

SScpRecord::~SScpRecord() {
  KillData();
}

void SScpRecord::KillDynamic() {
  for (uint16_t i = 0; i < DynamicCapacity && DynamicData != nullptr; ++i) {
    std::free(DynamicData[i]);
  }
  std::free(DynamicData);
  std::free(DynamicLengths);
  std::free(DynamicIds);
  DynamicData = nullptr;
  DynamicLengths = nullptr;
  DynamicIds = nullptr;
  DynamicCapacity = 0;
}

void SScpRecord::KillData() {
  KillDynamic();
  for (uint16_t i = 0; i < kFixedEntries; ++i) {
    std::free(FixedData[i]);
    FixedData[i] = nullptr;
    FixedLengths[i] = 0;
    FixedIds[i] = 0;
  }
  Used = 1;
}

bool SScpRecord::Allocate(uint16_t n) {
  KillDynamic();
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  return AddSections(n);
}

bool SScpRecord::AddSections(uint16_t n) {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  const unsigned capacity = DynamicCapacity + n;
  if (capacity >= 256) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  // All three arrays are made before any is replaced, so a failure changes nothing.
  uint8_t** data = ZeroedArray<uint8_t*>(capacity);
  uint32_t* lengths = ZeroedArray<uint32_t>(capacity);
  uint16_t* ids = ZeroedArray<uint16_t>(capacity);
  if (data == nullptr || lengths == nullptr || ids == nullptr) {
    std::free(data);
    std::free(lengths);
    std::free(ids);
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  if (DynamicCapacity > 0) {
    std::memcpy(data, DynamicData, DynamicCapacity * sizeof(*data));
    std::memcpy(lengths, DynamicLengths, DynamicCapacity * sizeof(*lengths));
    std::memcpy(ids, DynamicIds, DynamicCapacity * sizeof(*ids));
  }
  std::free(DynamicData);
  std::free(DynamicLengths);
  std::free(DynamicIds);
  DynamicData = data;
  DynamicLengths = lengths;
  DynamicIds = ids;
  DynamicCapacity = static_cast<uint16_t>(capacity);
  return true;
}

bool SScpRecord::Has(uint16_t entry) const {
  return entry < kFixedEntries || entry - kFixedEntries < DynamicCapacity;
}

uint8_t*& SScpRecord::Data(uint16_t entry) {
  return entry < kFixedEntries ? FixedData[entry] : DynamicData[entry - kFixedEntries];
}

uint32_t& SScpRecord::Length(uint16_t entry) {
  return entry < kFixedEntries ? FixedLengths[entry] : DynamicLengths[entry - kFixedEntries];
}

uint16_t& SScpRecord::Id(uint16_t entry) {
  return entry < kFixedEntries ? FixedIds[entry] : DynamicIds[entry - kFixedEntries];
}

void SScpRecord::ClearEntry(uint16_t entry) {
  std::free(Data(entry));
  Data(entry) = nullptr;
  Length(entry) = 0;
  Id(entry) = 0;
}
