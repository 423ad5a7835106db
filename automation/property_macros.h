// Declarations and bodies of the plain get/put pairs the information objects are made of.
#pragma once

#include "automation/ole_date.h"
#include "automation/text_property.h"

#define KTX_DECLARE_PROPERTY(Name, Type)                     \
  HRESULT STDMETHODCALLTYPE get_##Name(Type* pVal) override; \
  HRESULT STDMETHODCALLTYPE put_##Name(Type value) override;

// A value of one entry of a table, addressed from 1.
#define KTX_DECLARE_INDEXED_PROPERTY(Name, Type)                           \
  HRESULT STDMETHODCALLTYPE get_##Name(short iIndex, Type* pVal) override; \
  HRESULT STDMETHODCALLTYPE put_##Name(short iIndex, Type value) override;

// Every get refuses a null result pointer with E_POINTER: late-bound callers always pass
// one, a vtable caller may not. (The date gets answer E_INVALIDARG, ComposeDate.)
#define KTX_REQUIRE_RESULT(pVal) \
  if (!(pVal)) return E_POINTER

// The get of a property whose value is `expression`.
#define KTX_GET_PROPERTY(Class, Name, Type, expression) \
  HRESULT Class::get_##Name(Type* pVal) {               \
    KTX_REQUIRE_RESULT(pVal);                           \
    *pVal = expression;                                 \
    return S_OK;                                        \
  }

// A number or flag stored as it is put.
#define KTX_PLAIN_PROPERTY(Class, Name, Type, member) \
  KTX_GET_PROPERTY(Class, Name, Type, member)         \
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

// A field of table entry iIndex, found by the class's `find` (null outside the table:
// E_FAIL, nothing changed); it goes in and out as its bits, unconverted.
#define KTX_INDEXED_PROPERTY(Class, Name, Type, find, Field)   \
  HRESULT Class::get_##Name(short iIndex, Type* pVal) {        \
    KTX_REQUIRE_RESULT(pVal);                                  \
    const auto* entry = find(iIndex);                          \
    if (!entry) return E_FAIL;                                 \
    *pVal = static_cast<Type>(entry->Field);                   \
    return S_OK;                                               \
  }                                                            \
  HRESULT Class::put_##Name(short iIndex, Type value) {        \
    auto* entry = find(iIndex);                                \
    if (!entry) return E_FAIL;                                 \
    entry->Field = static_cast<decltype(entry->Field)>(value); \
    return S_OK;                                               \
  }

// A DATE property and its six parts as short properties of their own, kept in one SDateParts.
#define KTX_DECLARE_DATE_PROPERTIES(Prefix)   \
  KTX_DECLARE_PROPERTY(Prefix##Date, DATE)    \
  KTX_DECLARE_PROPERTY(Prefix##Year, short)   \
  KTX_DECLARE_PROPERTY(Prefix##Month, short)  \
  KTX_DECLARE_PROPERTY(Prefix##Day, short)    \
  KTX_DECLARE_PROPERTY(Prefix##Hour, short)   \
  KTX_DECLARE_PROPERTY(Prefix##Minute, short) \
  KTX_DECLARE_PROPERTY(Prefix##Second, short)
#define KTX_DATE_PROPERTIES(Class, Prefix, member)                \
  KTX_DATE_PROPERTY(Class, Prefix##Date, member, DateAndTime)     \
  KTX_PLAIN_PROPERTY(Class, Prefix##Year, short, member.Year)     \
  KTX_PLAIN_PROPERTY(Class, Prefix##Month, short, member.Month)   \
  KTX_PLAIN_PROPERTY(Class, Prefix##Day, short, member.Day)       \
  KTX_PLAIN_PROPERTY(Class, Prefix##Hour, short, member.Hour)     \
  KTX_PLAIN_PROPERTY(Class, Prefix##Minute, short, member.Minute) \
  KTX_PLAIN_PROPERTY(Class, Prefix##Second, short, member.Second)

// A DATE kept as separate date and time members (an SDateParts); a get that does not
// convert back fails (ComposeDate), a put stores what `keep` takes of the split value.
#define KTX_DATE_PROPERTY(Class, Name, member, keep) \
  HRESULT Class::get_##Name(DATE* pVal) {            \
    return ktx_com::ComposeDate(member, pVal);       \
  }                                                  \
  HRESULT Class::put_##Name(DATE value) {            \
    member = keep(ktx_com::SplitDate(value));        \
    return S_OK;                                     \
  }
