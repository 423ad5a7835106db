#include "record/unknown_tags.h"

#include "record/table_arrays.h"

SUnknownTags::~SUnknownTags() {
  KillData();
}

void SUnknownTags::KillTag(uint8_t tag) {
  delete[] Data[tag];
  Data[tag] = nullptr;
  Length[tag] = 0;
}

void SUnknownTags::KillData() {
  for (unsigned tag = 0; tag < kSlots; ++tag) {
    KillTag(static_cast<uint8_t>(tag));
  }
}

bool SUnknownTags::Allocate(uint8_t tag, uint16_t length) {
  if (length == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  KillTag(tag);
  Data[tag] = ktx::tables::NewZeroed<uint8_t>(length);
  if (Data[tag] == nullptr) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Length[tag] = length;
  return true;
}
