// Declarations and bodies of the plain get/put pairs the information objects are made of.
#pragma once

#include "automation/text_property.h"

#define KTX_DECLARE_PROPERTY(Name, Type)                     \
  HRESULT STDMETHODCALLTYPE get_##Name(Type* pVal) override; \
  HRESULT STDMETHODCALLTYPE put_##Name(Type value) override;

// A number or flag stored as it is put.
#define KTX_PLAIN_PROPERTY(Class, Name, Type, member) \
  HRESULT Class::get_##Name(Type* pVal) {             \
    *pVal = member;                                   \
    return S_OK;                                      \
  }                                                   \
  HRESULT Class::put_##Name(Type value) {             \
    member = value;                                   \
    return S_OK;                                      \
  }

// A text the object owns; gets hand out copies.
#define KTX_TEXT_PROPERTY(Class, Name, member) \
  HRESULT Class::get_##Name(BSTR* pVal) {      \
    return ktx_com::GetText(member, pVal);     \
  }                                            \
  HRESULT Class::put_##Name(BSTR value) {      \
    return ktx_com::PutText(&member, value);   \
  }
