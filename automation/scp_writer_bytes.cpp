// Scripts hold no pointers: for the three memory creations a late-bound caller may pass
// the data as an array (a byte array, a VBScript array of numbers 0-255, or a JScript
// array) instead of a byte reference. The bytes are copied into a buffer of our own and
// the call then goes on through the type library like any other.
#include <cstdint>
#include <cwchar>
#include <vector>

#include "automation/scp_writer.h"

namespace ktx_com {
namespace {

constexpr DISPID kRaw12LMem = 25;
constexpr DISPID kRaw8bitMem = 26;
constexpr DISPID kRaw16bitMem = 28;
constexpr UINT kDataPosition = 1;  // the argument after the file name
constexpr UINT kSizePosition = 2;

const VARIANT* Unwrapped(const VARIANT* value) {
  while (V_VT(value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(value)) {
    value = V_VARIANTREF(value);
  }
  return value;
}

HRESULT AppendByte(const VARIANT& element, std::vector<uint8_t>* bytes) {
  VARIANT converted;
  VariantInit(&converted);
  const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&element), 0, VT_UI1);
  if (FAILED(hr)) return hr;
  bytes->push_back(V_UI1(&converted));
  return S_OK;
}

HRESULT BytesOfSafeArray(SAFEARRAY* array, VARTYPE type, std::vector<uint8_t>* bytes) {
  if (!array || SafeArrayGetDim(array) != 1) return DISP_E_TYPEMISMATCH;
  LONG low = 0;
  LONG high = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high))) {
    return DISP_E_TYPEMISMATCH;
  }
  for (LONG i = low; i <= high; ++i) {
    VARIANT element;
    VariantInit(&element);
    HRESULT hr = S_OK;
    if (type == VT_VARIANT) {
      hr = SafeArrayGetElement(array, &i, &element);
    } else if (type == VT_UI1 || type == VT_I1) {
      V_VT(&element) = VT_UI1;
      hr = SafeArrayGetElement(array, &i, &V_UI1(&element));
    } else {
      hr = DISP_E_TYPEMISMATCH;
    }
    if (SUCCEEDED(hr)) hr = AppendByte(element, bytes);
    VariantClear(&element);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARIANT* value) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value,
                        nullptr, nullptr);
}

// A script array object: its length and its elements "0", "1", ...
HRESULT BytesOfScriptArray(IDispatch* object, std::vector<uint8_t>* bytes) {
  VARIANT length;
  VariantInit(&length);
  HRESULT hr = GetProperty(object, L"length", &length);
  if (SUCCEEDED(hr)) hr = VariantChangeType(&length, &length, 0, VT_I4);
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  for (LONG i = 0; i < V_I4(&length) && SUCCEEDED(hr); ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"%ld", static_cast<long>(i));
    VARIANT element;
    VariantInit(&element);
    hr = GetProperty(object, name, &element);
    if (SUCCEEDED(hr)) hr = AppendByte(element, bytes);
    VariantClear(&element);
  }
  return hr;
}

// S_FALSE when the argument is not an array (the type library then handles it).
HRESULT ScriptBytes(const VARIANT* data, std::vector<uint8_t>* bytes) {
  data = Unwrapped(data);
  const VARTYPE type = V_VT(data);
  if (type & VT_ARRAY) {
    SAFEARRAY* array =
        (type & VT_BYREF) ? (V_ARRAYREF(data) ? *V_ARRAYREF(data) : nullptr) : V_ARRAY(data);
    return BytesOfSafeArray(array, static_cast<VARTYPE>(type & VT_TYPEMASK), bytes);
  }
  if (type == VT_DISPATCH && V_DISPATCH(data)) return BytesOfScriptArray(V_DISPATCH(data), bytes);
  return S_FALSE;
}

}  // namespace

HRESULT CScpWriter::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* arg) {
  const bool memory = id == kRaw12LMem || id == kRaw8bitMem || id == kRaw16bitMem;
  if (!memory || !params || params->cNamedArgs != 0 || params->cArgs <= kSizePosition) {
    return CComObject::Invoke(id, iid, lcid, flags, params, result, exception, arg);
  }
  // Arguments arrive last first.
  VARIANT* data = &params->rgvarg[params->cArgs - 1 - kDataPosition];
  std::vector<uint8_t> bytes;
  HRESULT hr = ScriptBytes(data, &bytes);
  if (hr == S_FALSE)
    return CComObject::Invoke(id, iid, lcid, flags, params, result, exception, arg);
  if (FAILED(hr)) return hr;
  // The size may not reach past the copy: the readers trust it.
  VARIANT size;
  VariantInit(&size);
  hr = VariantChangeType(
      &size, const_cast<VARIANT*>(Unwrapped(&params->rgvarg[params->cArgs - 1 - kSizePosition])), 0,
      VT_I4);
  if (FAILED(hr)) return hr;
  if (V_I4(&size) < 0 || static_cast<size_t>(V_I4(&size)) > bytes.size()) return E_INVALIDARG;
  bytes.push_back(0);  // a valid address even for an empty array
  std::vector<VARIANT> arguments(params->rgvarg, params->rgvarg + params->cArgs);
  VARIANT& reference = arguments[params->cArgs - 1 - kDataPosition];
  V_VT(&reference) = VT_BYREF | VT_UI1;
  V_UI1REF(&reference) = bytes.data();
  DISPPARAMS copied = {arguments.data(), nullptr, params->cArgs, 0};
  return CComObject::Invoke(id, iid, lcid, flags, &copied, result, exception, arg);
}

}  // namespace ktx_com
