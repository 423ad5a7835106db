// Scripts hold no pointers. Where a member takes a pointer to the caller's array (bytes
// for the memory creations, lead codes for the lead-set questions, samples for the
// encoded data's sample copies), a late-bound caller may pass an array instead: a
// SAFEARRAY (a VBScript array, a byte array from another component) or a JScript array
// object. Its elements are copied into a buffer of our own, the call goes on through
// the type library with a reference to that buffer, and what the member wrote into the
// buffer is copied back into the array where the member fills it.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace ktx_com {

// The elements of an array argument (the first `limit` of them for shorts), converted
// to VT_UI1 (bytes) or VT_I2 (shorts). S_FALSE when the argument is not an array.
HRESULT ScriptBytes(const VARIANT* value, std::vector<uint8_t>* bytes);
HRESULT ScriptShorts(const VARIANT* value, std::vector<int16_t>* shorts, size_t limit = SIZE_MAX);

// The number of elements of an array argument; S_FALSE when it is not an array. With
// `writable`, an array that cannot take shorts (of bytes, of texts) is a type mismatch.
HRESULT ScriptArrayLength(const VARIANT* value, bool writable, size_t* length);

// Stores `count` shorts into the first `count` elements of an array argument that
// ScriptArrayLength found writable and long enough.
HRESULT StoreScriptShorts(const VARIANT* value, const int16_t* shorts, size_t count);

// The numeric argument at `position` (0 = first) as a 32-bit integer.
HRESULT ArgumentAsLong(const DISPPARAMS* params, UINT position, LONG* value);

// Runs `invoke` with a copy of `params` whose argument `position` is a reference of
// type `referenceType` (VT_UI1 or VT_I2) to `data`.
HRESULT InvokeWithReference(const DISPPARAMS* params, UINT position, VARTYPE referenceType,
                            void* data, const std::function<HRESULT(DISPPARAMS*)>& invoke);

}  // namespace ktx_com
