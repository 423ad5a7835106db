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
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (n > kMaxFurther) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  Further = ktx::tables::NewZeroed<SSectionIndex>(n);
  if (Further == nullptr) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Extra = n;
  return true;
}

bool SSectionIndexes::AddIndex(uint32_t n) {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  // Written as a subtraction so that a huge n cannot wrap the sum.
  if (Extra > kMaxFurther || n > kMaxFurther - Extra) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  if (!ktx::tables::GrowZeroed(Further, Extra, n)) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  Extra += n;
  return true;
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
