// The common IUnknown and IDispatch of every automation object: aggregatable reference
// counting (apartment threaded, so not interlocked) and late binding from the type library.
#pragma once

#include <new>

#include "automation/module.h"

namespace ktx_com {

template <class Interface>
class CComObject : public Interface {
 public:
  explicit CComObject(IUnknown* outer) : outer_(outer ? outer : &inner_) {
    inner_.self = this;
    LockModule();
  }
  virtual ~CComObject() { UnlockModule(); }
  CComObject(const CComObject&) = delete;
  CComObject& operator=(const CComObject&) = delete;

  IUnknown* Inner() { return &inner_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return outer_->QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return outer_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return outer_->Release(); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    HRESULT hr = InterfaceTypeInfo(__uuidof(Interface), lcid, info);
    if (SUCCEEDED(hr)) (*info)->AddRef();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    ITypeInfo* info = nullptr;
    HRESULT hr = InterfaceTypeInfo(__uuidof(Interface), lcid, &info);
    return FAILED(hr) ? hr : DispGetIDsOfNames(info, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg) override {
    ITypeInfo* info = nullptr;
    HRESULT hr = InterfaceTypeInfo(__uuidof(Interface), lcid, &info);
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<Interface*>(this), info, id, flags, params, result, exception,
                      arg);
  }

 private:
  // The non-delegating unknown: the identity an aggregating outer object holds.
  struct CInner : IUnknown {
    CComObject* self = nullptr;
    ULONG refs = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
      if (!object) return E_POINTER;
      if (iid == IID_IUnknown) {
        *object = static_cast<IUnknown*>(this);
      } else if (iid == IID_IDispatch || iid == __uuidof(Interface)) {
        *object = static_cast<Interface*>(self);
      } else {
        *object = nullptr;
        return E_NOINTERFACE;
      }
      static_cast<IUnknown*>(*object)->AddRef();
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
      ULONG left = --refs;
      if (left == 0) delete self;
      return left;
    }
  };
  CInner inner_;
  IUnknown* outer_;
};

// Creates an object of class T (plain or aggregated) and queries it for iid.
template <class T>
HRESULT CreateComObject(IUnknown* outer, REFIID iid, void** object) {
  T* created = new (std::nothrow) T(outer);
  if (!created) return E_OUTOFMEMORY;
  IUnknown* inner = created->Inner();
  inner->AddRef();
  HRESULT hr = inner->QueryInterface(iid, object);
  inner->Release();
  return hr;
}

}  // namespace ktx_com
