// Registry entries of the classes and registration of the type library.
#pragma once

#include <windows.h>

namespace ktx_com {

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace ktx_com
