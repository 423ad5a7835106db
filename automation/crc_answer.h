// The CRC verdict of a named file, shared by the reader and the loader objects.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace ktx_com {

// S_OK with -1 (valid) or 0 (damaged); E_FAIL (and 0) when no verdict could be reached.
HRESULT CrcAnswer(BSTR ScpFilename, VARIANT_BOOL* pGoodCRC);

}  // namespace ktx_com
