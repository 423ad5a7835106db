// The lead counts and entry indexes the table objects accept from automation callers.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ktx_com {

// A count is taken as an unsigned 16-bit number, so every negative count is too large.
inline bool TooManyLeads(short count) {
  return static_cast<unsigned short>(count) > 254;
}

// Allocate of a table object: the old entries go whatever the count; 0 leaves the table
// empty, a count over 254 fails (E_FAIL), memory that cannot be had E_OUTOFMEMORY.
template <class Kill, class Allocate>
HRESULT AllocateEntries(short count, Kill kill, Allocate allocate) {
  kill();
  if (count == 0) return S_OK;
  if (TooManyLeads(count)) return E_FAIL;
  return allocate(static_cast<uint8_t>(count)) ? S_OK : E_OUTOFMEMORY;
}

// Grow of a table object: any failure is E_FAIL and keeps the table as it was.
template <class Add>
HRESULT GrowEntries(short count, Add add) {
  if (TooManyLeads(count)) return E_FAIL;
  return add(static_cast<uint8_t>(count)) ? S_OK : E_FAIL;
}

// Entry iIndex - 1 of a table addressed from 1, or null outside 1..count or without a table.
template <class Entry, class Count>
Entry* EntryAt(Entry* entries, Count count, short iIndex) {
  if (iIndex < 1 || iIndex > count || !entries) return nullptr;
  return &entries[iIndex - 1];
}

}  // namespace ktx_com
