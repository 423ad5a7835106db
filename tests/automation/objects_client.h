// An early-bound client of KTXSCP32.dll: the module loaded by path (no registration
// needed for vtable calls), objects created through its class factories, and the check
// that every object is gone again when a test ends.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

#include <gtest/gtest.h>

#include "KTXSCP32_h.h"

namespace objects {

// Holds one reference; released when it goes.
template <class Interface>
class Ptr {
 public:
  Ptr() = default;
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

// An object of class `clsid` from the module's class factory, asked for `iid`.
HRESULT CreateObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT ModuleCanUnloadNow();

template <class Interface>
void Make(REFCLSID clsid, REFIID iid, Ptr<Interface>* object) {
  ASSERT_EQ(S_OK, CreateObject(clsid, iid, reinterpret_cast<void**>(object->Out())));
}

// Every test: COM for the thread, and DllCanUnloadNow answering S_OK at its end.
class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The example acquisitions shipped in the source tree.
std::string ExampleFile(const std::string& name);

// A file name of `length` characters (too long for the 260-byte ANSI names).
std::string LongName(size_t length);

}  // namespace objects
