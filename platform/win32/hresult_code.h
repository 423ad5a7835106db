// The Win32 number inside an HRESULT, for the few shell and COM calls the core makes.
#pragma once

#include <windows.h>

#include <cstdint>

namespace plat::win32 {

inline uint32_t CodeFromHresult(HRESULT result, uint32_t fallback) {
  return HRESULT_FACILITY(result) == FACILITY_WIN32 ? static_cast<uint32_t>(HRESULT_CODE(result))
                                                    : fallback;
}

}  // namespace plat::win32
