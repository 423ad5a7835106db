// An early-bound client of KTXSCP32.dll: the module loaded by path (no registration
// needed for vtable calls), objects created through its class factories, and the check
// that every object is gone again when a test ends.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KTXSCP32_h.h"

namespace objects {

// An object of class `clsid` from the module's class factory, asked for `iid`.
HRESULT CreateObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT ModuleCanUnloadNow();

// Holds one reference; released when it goes.
template <class Interface>
class Ptr {
 public:
  Ptr() = default;
  // A new object of `clsid` (the test fails when none is made).
  Ptr(REFCLSID clsid, REFIID iid) {
    EXPECT_EQ(S_OK, CreateObject(clsid, iid, reinterpret_cast<void**>(Out())));
  }
  ~Ptr() { Reset(); }
  Ptr(const Ptr&) = delete;
  Ptr& operator=(const Ptr&) = delete;
  Interface* operator->() const { return object_; }
  Interface* Get() const { return object_; }
  Interface** Out() {
    Reset();
    return &object_;
  }
  void Reset() {
    if (object_) object_->Release();
    object_ = nullptr;
  }

 private:
  Interface* object_ = nullptr;
};

// A BSTR made from narrow text (the ANSI code page), freed when it goes.
class Text {
 public:
  explicit Text(const std::string& text);
  ~Text() { SysFreeString(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

// A BSTR result taken over, as narrow text ("" for a null BSTR).
std::string Narrow(BSTR text);

template <class Interface>
void Make(REFCLSID clsid, REFIID iid, Ptr<Interface>* object) {
  ASSERT_EQ(S_OK, CreateObject(clsid, iid, reinterpret_cast<void**>(object->Out())));
}

// What a get answers; the test fails unless the get succeeds.
template <class Interface, class Value>
Value Get(Interface* object, HRESULT (STDMETHODCALLTYPE Interface::*get)(Value*)) {
  Value value{};
  EXPECT_EQ(S_OK, (object->*get)(&value));
  return value;
}
template <class Interface, class Value>
Value Get(Interface* object, HRESULT (STDMETHODCALLTYPE Interface::*get)(short, Value*),
          short index) {
  Value value{};
  EXPECT_EQ(S_OK, (object->*get)(index, &value));
  return value;
}
template <class Interface>
std::string GetText(Interface* object, HRESULT (STDMETHODCALLTYPE Interface::*get)(BSTR*)) {
  return Narrow(Get(object, get));
}

// Every sample of one lead (numbered from 1).
std::vector<short> LeadSamples(IScpEncodedData* data, short lead);

// Every test: COM for the thread, and DllCanUnloadNow answering S_OK once the test and
// the objects of its fixture are gone.
class ModuleTest : public ::testing::Test {
 protected:
  ModuleTest() { CoInitialize(nullptr); }
  ~ModuleTest() override;
  void SetUp() override;
};

// The example acquisitions shipped in the source tree.
std::string ExampleFile(const std::string& name);

// A file name of `length` characters (too long for the 260-byte ANSI names).
std::string LongName(size_t length);

}  // namespace objects
