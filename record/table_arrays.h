// Heap arrays of the lead and measurement tables: allocation that reports
// running out of memory by a null result or error code instead of throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/errors.h"

namespace ktx::tables {

// A zero-filled array of n elements, or null when memory runs out.
template <typename T>
T* NewZeroed(size_t n) noexcept {
  return new (std::nothrow) T[n]();
}

// Grows `array` from `count` to `count + extra` elements; the old elements stay in
// front, the new ones are zero. On failure the array is left as it was.
template <typename T>
bool GrowZeroed(T*& array, size_t count, size_t extra) noexcept {
  T* grown = NewZeroed<T>(count + extra);
  if (grown == nullptr) {
    return false;
  }
  if (array != nullptr && count != 0) {
    std::memcpy(static_cast<void*>(grown), static_cast<const void*>(array), count * sizeof(T));
  }
  delete[] array;
  array = grown;
  return true;
}

// Fills a table just emptied by its owner with n zeroed entries, 1 to `most` of them.
// `count` changes only on success, or to 0 when memory runs out.
template <typename T, typename Count>
bool AllocateTable(T*& array, Count& count, size_t n, size_t most) noexcept {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (n > most) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  array = NewZeroed<T>(n);
  if (array == nullptr) {
    count = 0;
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  count = static_cast<Count>(n);
  return true;
}

// Appends n zeroed entries as long as the table stays within `most` entries; on
// failure the table is left as it was.
template <typename T, typename Count>
bool AddTableEntries(T*& array, Count& count, size_t n, size_t most) noexcept {
  if (n == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  // Written as a subtraction so that a huge n cannot wrap the sum.
  if (count > most || n > most - count) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  if (!GrowZeroed(array, count, n)) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  count = static_cast<Count>(count + n);
  return true;
}

// Makes `target` a copy of `source` through the table's own Allocate, which empties it
// first; the entries named by `entries` are copied, the caller copies the rest.
template <typename Table, typename Entry>
bool CopyTable(Table& target, const Table* source, Entry* Table::*entries) {
  if (source == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (source == &target) {
    return true;
  }
  if (!target.Allocate(source->Count)) {
    return false;
  }
  if (source->*entries != nullptr) {
    std::memcpy(static_cast<void*>(target.*entries), static_cast<const void*>(source->*entries),
                sizeof(Entry) * target.Count);
  }
  return true;
}

}  // namespace ktx::tables
