#include "record/section_indexes.h"

#include "record/table_arrays.h"

SSectionIndexes::~SSectionIndexes() {
  KillDynamic();
}

void SSectionIndexes::KillDynamic() {
  delete[] Further;
  Further = nullptr;
  Extra = 0;
}

void SSectionIndexes::KillData() {
  KillDynamic();
  Count = 0;
}

bool SSectionIndexes::Allocate(uint32_t n) {
  KillDynamic();
  return ktx::tables::AllocateTable(Further, Extra, n, kMaxFurther);
}

bool SSectionIndexes::AddIndex(uint32_t n) {
  return ktx::tables::AddTableEntries(Further, Extra, n, kMaxFurther);
}

SSectionIndex* SSectionIndexes::Entry(uint32_t i) {
  if (i < kFixedEntries) {
    return &Fixed[i];
  }
  if (Further != nullptr && i - kFixedEntries < Extra) {
    return &Further[i - kFixedEntries];
  }
  return nullptr;
}

const SSectionIndex* SSectionIndexes::Entry(uint32_t i) const {
  return const_cast<SSectionIndexes*>(this)->Entry(i);
}
