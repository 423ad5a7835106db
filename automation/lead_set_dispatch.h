// ReadLeadSet and GetLeadSet called late-bound with an array of lead codes
// (script_arrays.h): the array must hold at least the count asked about.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>

namespace ktx_com {

// `countPosition` and `arrayPosition` count the arguments from 0.
HRESULT InvokeLeadSet(DISPPARAMS* params, UINT countPosition, UINT arrayPosition,
                      const std::function<HRESULT(DISPPARAMS*)>& invoke);

}  // namespace ktx_com
