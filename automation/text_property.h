// Get and put of a BSTR member owned by an automation object.
#pragma once

#include <oleauto.h>
#include <windows.h>

namespace ktx_com {

// A new copy of the member (null stays null); E_OUTOFMEMORY when it cannot be made,
// E_POINTER for a null result pointer.
inline HRESULT GetText(const BSTR member, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  if (!member) return S_OK;
  *value = SysAllocString(member);
  return *value ? S_OK : E_OUTOFMEMORY;
}

// Replaces the member by a copy of the value (null leaves it null).
inline HRESULT PutText(BSTR* member, const OLECHAR* value) {
  SysFreeString(*member);
  *member = nullptr;
  if (!value) return S_OK;
  *member = SysAllocString(value);
  return *member ? S_OK : E_OUTOFMEMORY;
}

// Hands a text got from an object (result hr) to a record field, freeing the field's old
// string; on failure the field is left as it was.
inline HRESULT TakeText(HRESULT hr, BSTR text, wchar_t** field) {
  if (FAILED(hr)) return hr;
  SysFreeString(*field);
  *field = text;
  return S_OK;
}

}  // namespace ktx_com
