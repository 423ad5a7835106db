#include "automation/script_arrays.h"

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

HRESULT EachOfSafeArray(SAFEARRAY* array, VARTYPE type, const ElementSink& sink) {
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

// A script array object: its length and its elements "0", "1", ...
HRESULT EachOfScriptArray(IDispatch* object, const ElementSink& sink) {
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
    if (SUCCEEDED(hr)) hr = sink(&element);
    VariantClear(&element);
  }
  return hr;
}

HRESULT EachElement(const VARIANT* value, const ElementSink& sink) {
  value = Unwrapped(value);
  const VARTYPE type = V_VT(value);
  if (type & VT_ARRAY) {
    SAFEARRAY* array =
        (type & VT_BYREF) ? (V_ARRAYREF(value) ? *V_ARRAYREF(value) : nullptr) : V_ARRAY(value);
    return EachOfSafeArray(array, static_cast<VARTYPE>(type & VT_TYPEMASK), sink);
  }
  if (type == VT_DISPATCH && V_DISPATCH(value)) return EachOfScriptArray(V_DISPATCH(value), sink);
  return S_FALSE;
}

template <class T>
HRESULT Elements(const VARIANT* value, VARTYPE type, std::vector<T>* out) {
  out->clear();
  return EachElement(value, [&](VARIANT* element) {
    const HRESULT hr = VariantChangeType(element, element, 0, type);
    if (FAILED(hr)) return hr;
    out->push_back(type == VT_UI1 ? static_cast<T>(V_UI1(element)) : static_cast<T>(V_I2(element)));
    return S_OK;
  });
}

}  // namespace

HRESULT ScriptBytes(const VARIANT* value, std::vector<uint8_t>* bytes) {
  return Elements(value, VT_UI1, bytes);
}

HRESULT ScriptShorts(const VARIANT* value, std::vector<int16_t>* shorts) {
  return Elements(value, VT_I2, shorts);
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
