// Heap arrays of the lead and measurement tables: allocation that reports
// running out of memory by a null result instead of throwing.
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

}  // namespace ktx::tables
