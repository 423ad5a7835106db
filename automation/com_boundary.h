// The exception boundary of the automation methods: nothing thrown inside the library
// reaches a client. Running out of memory answers E_OUTOFMEMORY, anything else E_FAIL.
#pragma once

#include <windows.h>

#include <new>

namespace ktx_com {

template <class Body>
HRESULT ComBoundary(Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace ktx_com
