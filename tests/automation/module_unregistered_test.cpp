// An object of an unregistered module: its IDispatch is built on the registered type
// library, so late binding fails with the registry's answer, while its virtual table
// works. A process of its own, so that the module has cached no type information yet;
// the module is registered again afterwards, whatever happened.
#include <string>

#include "KTXSCP32_h.h"
#include "objects_client.h"
#include "typelib_client.h"

namespace typelib {
namespace {

using objects::Ptr;
using ServerFn = HRESULT(STDAPICALLTYPE*)();

HRESULT CallEntry(const char* name) {
  auto entry = reinterpret_cast<ServerFn>(reinterpret_cast<void*>(ModuleEntry(name)));
  return entry ? entry() : E_UNEXPECTED;
}

// Registers the module again when it goes, so the tests after this one find it registered.
struct ReRegister {
  ReRegister() = default;
  ReRegister(const ReRegister&) = delete;
  ReRegister& operator=(const ReRegister&) = delete;
  ~ReRegister() { EXPECT_EQ(S_OK, CallEntry("DllRegisterServer")); }
};

// The caller is German: the library is registered for US English only, so the module
// falls back to the library's own locale (and the failure stays the registry's answer).
constexpr LCID kGerman = 0x0407;

HRESULT LateBoundCalls(IDispatch* object, HRESULT* names, HRESULT* invoke) {
  std::wstring name = L"Leads";
  LPOLESTR list[] = {&name[0]};
  DISPID id = DISPID_UNKNOWN;
  *names = object->GetIDsOfNames(IID_NULL, list, 1, kGerman, &id);
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  *invoke = object->Invoke(1, IID_NULL, kGerman, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none,
                           &result, nullptr, nullptr);
  VariantClear(&result);
  Ptr<ITypeInfo> info;
  return object->GetTypeInfo(0, kGerman, info.Out());
}

class UnregisteredModule : public objects::ModuleTest {};

TEST_F(UnregisteredModule, LateBindingFailsWhileTheVirtualTableWorks) {
  ReRegister again;
  ASSERT_EQ(S_OK, CallEntry("DllUnregisterServer"));
  Ptr<ITypeLib> library;
  const HRESULT missing = LoadRegTypeLib(LIBID_KTXSCP32Lib, 1, 0, kGerman, library.Out());
  ASSERT_EQ(TYPE_E_LIBNOTREGISTERED, missing);

  for (const SClass& cls : kClasses) {
    SCOPED_TRACE(cls.Name);
    Ptr<IDispatch> object;
    ASSERT_EQ(S_OK, objects::CreateObject(*cls.Clsid, *cls.Iid, (void**)object.Out()));
    UINT count = 0;
    EXPECT_EQ(S_OK, object->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    HRESULT names = S_OK;
    HRESULT invoke = S_OK;
    EXPECT_EQ(missing, LateBoundCalls(object.Get(), &names, &invoke));
    EXPECT_EQ(missing, names);
    EXPECT_EQ(missing, invoke);
  }

  // Calls through the virtual table need no library (every object shares one vtable
  // implementation: one of them stands for all).
  Ptr<IScpLeadErrorInfo> errors;
  objects::Make(CLSID_ScpLeadErrorInfo, IID_IScpLeadErrorInfo, &errors);
  short leads = 0;
  EXPECT_EQ(S_OK, errors->Allocate(3));
  EXPECT_EQ(S_OK, errors->get_Leads(&leads));
  EXPECT_EQ(3, leads);

  // Registered again, objects bind late, for a German caller too: the failed load was not
  // kept.
  ASSERT_EQ(S_OK, CallEntry("DllRegisterServer"));
  Ptr<IDispatch> late;
  ASSERT_EQ(S_OK, objects::CreateObject(CLSID_ScpEncodedData, IID_IDispatch, (void**)late.Out()));
  HRESULT names = E_FAIL;
  HRESULT invoke = E_FAIL;
  EXPECT_EQ(S_OK, LateBoundCalls(late.Get(), &names, &invoke));
  EXPECT_EQ(S_OK, names);
  EXPECT_EQ(S_OK, invoke);  // DISPID 1 of IScpEncodedData: Leads
}

}  // namespace
}  // namespace typelib
