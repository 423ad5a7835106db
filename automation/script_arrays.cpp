#include "automation/script_arrays.h"

#include <dispex.h>

#include <algorithm>
#include <cwchar>

namespace ktx_com {
namespace {

const VARIANT* Unwrapped(const VARIANT* value) {
  while (V_VT(value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(value)) {
    value = V_VARIANTREF(value);
  }
  return value;
}

// Every element of the array as a VARIANT, in order.
using ElementSink = std::function<HRESULT(VARIANT*)>;

// The bounds of a one-dimensional array: its elements are low..low + count - 1.
HRESULT Bounds(SAFEARRAY* array, LONG* low, size_t* count) {
  LONG high = -1;
  if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, low)) ||
      FAILED(SafeArrayGetUBound(array, 1, &high))) {
    return DISP_E_TYPEMISMATCH;
  }
  *count = high >= *low ? static_cast<size_t>(high - *low) + 1 : 0;
  return S_OK;
}

HRESULT EachOfSafeArray(SAFEARRAY* array, VARTYPE type, size_t limit, const ElementSink& sink) {
  LONG low = 0;
  size_t count = 0;
  const HRESULT bounds = Bounds(array, &low, &count);
  if (FAILED(bounds)) return bounds;
  const LONG end = low + static_cast<LONG>(std::min(count, limit));
  for (LONG i = low; i < end; ++i) {
    VARIANT element;
    VariantInit(&element);
    HRESULT hr = S_OK;
    if (type == VT_VARIANT) {
      hr = SafeArrayGetElement(array, &i, &element);
    } else if (type == VT_UI1 || type == VT_I2 || type == VT_I4 || type == VT_R8) {
      V_VT(&element) = type;
      hr = SafeArrayGetElement(array, &i, &V_I4(&element));  // the union's storage
    } else {
      hr = DISP_E_TYPEMISMATCH;
    }
    if (SUCCEEDED(hr)) hr = sink(&element);
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

// A script array object's element name: "0", "1", ...
struct SElementName {
  explicit SElementName(size_t i) { swprintf(text, 24, L"%lu", static_cast<unsigned long>(i)); }
  wchar_t text[24];
};

HRESULT ScriptArrayObjectLength(IDispatch* object, size_t* count) {
  VARIANT length;
  VariantInit(&length);
  HRESULT hr = GetProperty(object, L"length", &length);
  if (SUCCEEDED(hr)) hr = VariantChangeType(&length, &length, 0, VT_I4);
  if (FAILED(hr) || V_I4(&length) < 0) return DISP_E_TYPEMISMATCH;
  *count = static_cast<size_t>(V_I4(&length));
  return S_OK;
}

// A script array object: its elements "0", "1", ... up to its length.
HRESULT EachOfScriptArray(IDispatch* object, size_t limit, const ElementSink& sink) {
  size_t count = 0;
  HRESULT hr = ScriptArrayObjectLength(object, &count);
  if (FAILED(hr)) return hr;
  for (size_t i = 0; i < std::min(count, limit) && SUCCEEDED(hr); ++i) {
    const SElementName name(i);
    VARIANT element;
    VariantInit(&element);
    hr = GetProperty(object, name.text, &element);
    if (SUCCEEDED(hr)) hr = sink(&element);
    VariantClear(&element);
  }
  return hr;
}

// What an argument holds: a SAFEARRAY and its element type, a script array object, or
// neither (both null).
struct SArrayArgument {
  SAFEARRAY* Array = nullptr;
  VARTYPE Type = VT_EMPTY;
  IDispatch* Object = nullptr;
  bool IsArray = false;
};

SArrayArgument ArrayArgument(const VARIANT* value) {
  value = Unwrapped(value);
  const VARTYPE type = V_VT(value);
  SArrayArgument found;
  if (type & VT_ARRAY) {
    found.Array =
        (type & VT_BYREF) ? (V_ARRAYREF(value) ? *V_ARRAYREF(value) : nullptr) : V_ARRAY(value);
    found.Type = static_cast<VARTYPE>(type & VT_TYPEMASK);
    found.IsArray = true;
  } else if (type == VT_DISPATCH && V_DISPATCH(value)) {
    found.Object = V_DISPATCH(value);
    found.IsArray = true;
  }
  return found;
}

HRESULT EachElement(const VARIANT* value, size_t limit, const ElementSink& sink) {
  const SArrayArgument argument = ArrayArgument(value);
  if (argument.Object) return EachOfScriptArray(argument.Object, limit, sink);
  if (argument.IsArray) return EachOfSafeArray(argument.Array, argument.Type, limit, sink);
  return S_FALSE;
}

// Element types a short can be stored into without loss.
bool TakesShorts(VARTYPE type) {
  return type == VT_VARIANT || type == VT_I2 || type == VT_I4 || type == VT_R8;
}

HRESULT StoreIntoSafeArray(SAFEARRAY* array, VARTYPE type, const int16_t* shorts, size_t count) {
  LONG low = 0;
  size_t length = 0;
  HRESULT hr = Bounds(array, &low, &length);
  if (FAILED(hr)) return hr;
  if (count > length || !TakesShorts(type)) return DISP_E_TYPEMISMATCH;
  for (size_t i = 0; i < count && SUCCEEDED(hr); ++i) {
    LONG at = low + static_cast<LONG>(i);
    VARIANT element;
    V_VT(&element) = VT_I2;
    V_I2(&element) = shorts[i];
    if (type == VT_VARIANT) {
      hr = SafeArrayPutElement(array, &at, &element);
    } else {
      hr = VariantChangeType(&element, &element, 0, type);
      if (SUCCEEDED(hr)) hr = SafeArrayPutElement(array, &at, &V_I4(&element));
    }
  }
  return hr;
}

// Sets element `name` of a script array object, creating it when the array has none
// there yet (a JScript `new Array(n)` holds no elements until they are set).
HRESULT PutElement(IDispatch* object, const wchar_t* name, VARIANT* value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {value, &named, 1, 1};
  DISPID id = 0;
  IDispatchEx* extended = nullptr;
  if (SUCCEEDED(object->QueryInterface(__uuidof(IDispatchEx), (void**)&extended))) {
    BSTR text = SysAllocString(name);
    HRESULT hr = text ? extended->GetDispID(text, fdexNameEnsure | fdexNameCaseSensitive, &id)
                      : E_OUTOFMEMORY;
    SysFreeString(text);
    if (SUCCEEDED(hr)) {
      hr = extended->InvokeEx(id, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                              nullptr, nullptr);
    }
    extended->Release();
    return hr;
  }
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                        nullptr, nullptr);
}

HRESULT StoreIntoScriptArray(IDispatch* object, const int16_t* shorts, size_t count) {
  HRESULT hr = S_OK;
  for (size_t i = 0; i < count && SUCCEEDED(hr); ++i) {
    const SElementName name(i);
    VARIANT element;
    V_VT(&element) = VT_I2;
    V_I2(&element) = shorts[i];
    hr = PutElement(object, name.text, &element);
  }
  return hr;
}

template <class T>
HRESULT Elements(const VARIANT* value, VARTYPE type, size_t limit, std::vector<T>* out) {
  out->clear();
  return EachElement(value, limit, [&](VARIANT* element) {
    const HRESULT hr = VariantChangeType(element, element, 0, type);
    if (FAILED(hr)) return hr;
    out->push_back(type == VT_UI1 ? static_cast<T>(V_UI1(element)) : static_cast<T>(V_I2(element)));
    return S_OK;
  });
}

}  // namespace

HRESULT ScriptBytes(const VARIANT* value, std::vector<uint8_t>* bytes) {
  return Elements(value, VT_UI1, SIZE_MAX, bytes);
}

HRESULT ScriptShorts(const VARIANT* value, std::vector<int16_t>* shorts, size_t limit) {
  return Elements(value, VT_I2, limit, shorts);
}

HRESULT ScriptArrayLength(const VARIANT* value, bool writable, size_t* length) {
  const SArrayArgument argument = ArrayArgument(value);
  if (argument.Object) return ScriptArrayObjectLength(argument.Object, length);
  if (!argument.IsArray) return S_FALSE;
  if (writable && !TakesShorts(argument.Type)) return DISP_E_TYPEMISMATCH;
  LONG low = 0;
  return Bounds(argument.Array, &low, length);
}

HRESULT StoreScriptShorts(const VARIANT* value, const int16_t* shorts, size_t count) {
  const SArrayArgument argument = ArrayArgument(value);
  if (argument.Object) return StoreIntoScriptArray(argument.Object, shorts, count);
  if (!argument.IsArray) return DISP_E_TYPEMISMATCH;
  return StoreIntoSafeArray(argument.Array, argument.Type, shorts, count);
}

HRESULT ArgumentAsLong(const DISPPARAMS* params, UINT position, LONG* value) {
  if (position >= params->cArgs) return DISP_E_BADPARAMCOUNT;
  VARIANT converted;
  VariantInit(&converted);
  // Arguments arrive last first.
  const VARIANT* argument = Unwrapped(&params->rgvarg[params->cArgs - 1 - position]);
  const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(argument), 0, VT_I4);
  if (SUCCEEDED(hr)) *value = V_I4(&converted);
  return hr;
}

HRESULT InvokeWithReference(const DISPPARAMS* params, UINT position, VARTYPE referenceType,
                            void* data, const std::function<HRESULT(DISPPARAMS*)>& invoke) {
  std::vector<VARIANT> arguments(params->rgvarg, params->rgvarg + params->cArgs);
  VARIANT& reference = arguments[params->cArgs - 1 - position];
  V_VT(&reference) = static_cast<VARTYPE>(VT_BYREF | referenceType);
  V_BYREF(&reference) = data;
  DISPPARAMS copied = {arguments.data(), nullptr, params->cArgs, 0};
  return invoke(&copied);
}

}  // namespace ktx_com
