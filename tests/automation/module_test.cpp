// The module as a COM client meets it: class objects, creation with and without an outer
// object, the interfaces each object answers, unloading and late binding by name.
// Every test ends with DllCanUnloadNow answering S_OK (objects::ModuleTest).
#include <algorithm>
#include <string>

#include "KTXSCP32_h.h"
#include "objects_client.h"
#include "typelib_client.h"
#include "typelib_expected.h"

namespace typelib {
namespace {

using objects::Ptr;

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

const SInterface* InterfaceTable(const std::string& name) {
  for (const SInterface& candidate : kInterfaces)
    if (name == candidate.Name) return &candidate;
  return nullptr;
}

// Calls the get in virtual-table slot `slot` with `indexes` index arguments of 1 and a
// null result pointer, as a careless early-bound client might.
HRESULT GetWithNullResult(IUnknown* object, UINT slot, unsigned indexes) {
  VARIANT args[3] = {};
  VARTYPE types[3] = {};
  VARIANTARG* list[3] = {};
  for (unsigned i = 0; i <= indexes; ++i) {
    V_VT(&args[i]) = i < indexes ? VT_I2 : VT_BYREF | VT_I2;
    if (i < indexes) V_I2(&args[i]) = 1;
    types[i] = V_VT(&args[i]);
    list[i] = &args[i];
  }
  VARIANT result = {};
  const HRESULT hr = DispCallFunc(object, slot * sizeof(void*), CC_STDCALL, VT_ERROR, indexes + 1,
                                  types, list, &result);
  return FAILED(hr) ? hr : V_ERROR(&result);
}

// An outer object that aggregates one inner object and counts its own references.
class COuter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown) {
      *object = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return inner ? inner->QueryInterface(iid, object) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the stack
  ULONG refs = 1;
  IUnknown* inner = nullptr;
};

class ModuleBehaviour : public objects::ModuleTest {};

TEST_F(ModuleBehaviour, CanUnloadOnlyWithoutObjectsAndLocks) {
  for (const SClass& cls : kClasses) {
    SCOPED_TRACE(cls.Name);
    Ptr<IClassFactory> factory;
    ASSERT_EQ(S_OK, ClassFactory(*cls.Clsid, factory.Out()));
    EXPECT_EQ(S_OK, objects::ModuleCanUnloadNow());  // a class object alone keeps nothing alive
    Ptr<IDispatch> first;
    Ptr<IDispatch> second;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, (void**)first.Out()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, (void**)second.Out()));
    EXPECT_EQ(S_FALSE, objects::ModuleCanUnloadNow());
    first.Reset();
    EXPECT_EQ(S_FALSE, objects::ModuleCanUnloadNow());
    second.Reset();
    EXPECT_EQ(S_OK, objects::ModuleCanUnloadNow());

    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, objects::ModuleCanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, objects::ModuleCanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, objects::ModuleCanUnloadNow());
  }
}

TEST_F(ModuleBehaviour, ClassObjectsAreCachedAndUnknownClassesRefused) {
  for (const SClass& cls : kClasses) {
    Ptr<IClassFactory> first;
    Ptr<IClassFactory> second;
    ASSERT_EQ(S_OK, ClassFactory(*cls.Clsid, first.Out()));
    ASSERT_EQ(S_OK, ClassFactory(*cls.Clsid, second.Out()));
    EXPECT_EQ(first.Get(), second.Get()) << cls.Name;
  }
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get =
      reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(ModuleEntry("DllGetClassObject")));
  ASSERT_NE(nullptr, get);
  // An interface identifier is no class of the module; nor is the library's identifier.
  for (const GUID* stranger : {&IID_IScpReader, &LIBID_KTXSCP32Lib, &GUID_NULL}) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, get(*stranger, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
  }
  Ptr<IUnknown> unknown;
  EXPECT_EQ(S_OK, get(CLSID_ScpReader, IID_IUnknown, (void**)unknown.Out()));
}

// Refusals first: no result pointer, an outer object asking for more than IUnknown, an
// interface the object lacks (the new object goes again at once); then aggregation.
TEST_F(ModuleBehaviour, CreateInstanceArgumentsAndAggregation) {
  for (const SClass& cls : kClasses) {
    SCOPED_TRACE(cls.Name);
    Ptr<IClassFactory> factory;
    ASSERT_EQ(S_OK, ClassFactory(*cls.Clsid, factory.Out()));
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, *cls.Iid, nullptr));
    COuter outer;
    for (const IID* iid : {cls.Iid, &IID_IDispatch}) {
      void* object = reinterpret_cast<void*>(1);
      EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, *iid, &object));
      EXPECT_EQ(nullptr, object);
    }
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_ISupportErrorInfo, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(S_OK, objects::ModuleCanUnloadNow());

    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, (void**)&outer.inner));
    ASSERT_NE(nullptr, outer.inner);
    EXPECT_EQ(1u, outer.refs);  // the outer object holds the inner, not the other way round
    EXPECT_EQ(S_FALSE, objects::ModuleCanUnloadNow());

    IDispatch* own = nullptr;
    ASSERT_EQ(S_OK, outer.inner->QueryInterface(*cls.Iid, (void**)&own));
    EXPECT_EQ(2u, outer.refs);  // the reference it hands out is the outer object's
    own->AddRef();
    EXPECT_EQ(3u, outer.refs);
    own->Release();
    EXPECT_EQ(2u, outer.refs);
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, own->QueryInterface(IID_IUnknown, (void**)&identity));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);  // asked of the outer object
    identity->Release();
    IDispatch* again = nullptr;
    ASSERT_EQ(S_OK, own->QueryInterface(IID_IDispatch, (void**)&again));
    UINT count = 0;
    EXPECT_EQ(S_OK, again->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    again->Release();
    own->Release();
    EXPECT_EQ(1u, outer.refs);

    EXPECT_EQ(0u, outer.inner->Release());
    EXPECT_EQ(S_OK, objects::ModuleCanUnloadNow());
  }
}

TEST_F(ModuleBehaviour, ObjectsAnswerOnlyTheirThreeInterfaces) {
  for (const SClass& cls : kClasses) {
    SCOPED_TRACE(cls.Name);
    Ptr<IUnknown> object;
    ASSERT_EQ(S_OK, objects::CreateObject(*cls.Clsid, IID_IUnknown, (void**)object.Out()));
    Ptr<IUnknown> identities[3];
    const IID* answered[3] = {&IID_IUnknown, &IID_IDispatch, cls.Iid};
    for (int i = 0; i < 3; ++i) {
      Ptr<IUnknown> found;
      ASSERT_EQ(S_OK, object->QueryInterface(*answered[i], (void**)found.Out()));
      ASSERT_EQ(S_OK, found->QueryInterface(IID_IUnknown, (void**)identities[i].Out()));
      EXPECT_EQ(object.Get(), identities[i].Get()) << "one identity for all interfaces";
    }
    for (const IID* refused : {&IID_ISupportErrorInfo, &IID_IConnectionPointContainer,
                               &IID_IProvideClassInfo, &IID_IPersist, &IID_IClassFactory}) {
      void* other = reinterpret_cast<void*>(1);
      EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(*refused, &other));
      EXPECT_EQ(nullptr, other);
    }
  }
}

// Every member of every interface table: late binding by name finds it with its DISPID
// in the object's one type info, and a property get called through the virtual table
// with a null result pointer answers E_POINTER (E_INVALIDARG for the three dates).
TEST_F(ModuleBehaviour, EveryMemberByNameAndWithoutAResultPointer) {
  for (const SClass& cls : kClasses) {
    const std::string interfaceName = std::string("I") + cls.Name;
    SCOPED_TRACE(interfaceName);
    const SInterface* table = InterfaceTable(interfaceName);
    ASSERT_NE(nullptr, table);
    Ptr<IDispatch> object;
    ASSERT_EQ(S_OK, objects::CreateObject(*cls.Clsid, *cls.Iid, (void**)object.Out()));
    UINT slot = 7;  // after IUnknown and IDispatch
    for (const SMember& row : table->Members) {
      std::wstring name = Wide(row.Name);
      LPOLESTR names[] = {&name[0]};
      DISPID id = DISPID_UNKNOWN;
      EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, names, 1, 1033, &id)) << row.Name;
      EXPECT_EQ(row.Id, id) << row.Name;
      if (row.Kind != kFunc) {
        const std::string args = row.Args;  // "short iIndex[, short iSampleIndex]"
        const auto indexes =
            static_cast<unsigned>(args.empty() ? 0 : 1 + std::count(args.begin(), args.end(), ','));
        const HRESULT expected = std::string(row.Value) == "DATE" ? E_INVALIDARG : E_POINTER;
        EXPECT_EQ(expected, GetWithNullResult(object.Get(), slot, indexes)) << row.Name;
      }
      slot += row.Kind == kProp ? 2 : 1;
    }
    Ptr<ITypeInfo> info;
    ASSERT_EQ(S_OK, object->GetTypeInfo(0, 1033, info.Out()));
    EXPECT_EQ(interfaceName, Documentation(info.Get(), MEMBERID_NIL).Name);
    EXPECT_EQ(DISP_E_BADINDEX, object->GetTypeInfo(1, 1033, info.Out()));
    EXPECT_EQ(E_POINTER, object->GetTypeInfo(0, 1033, nullptr));
    EXPECT_EQ(E_POINTER, object->GetTypeInfoCount(nullptr));
    std::wstring stranger = L"NoSuchMember";
    LPOLESTR names[] = {&stranger[0]};
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, object->GetIDsOfNames(IID_NULL, names, 1, 1033, &id));
  }
}

// Puts through IDispatch: the read-only properties refuse them, a writable one takes it.
TEST_F(ModuleBehaviour, ReadOnlyPropertiesRefuseLateBoundPuts) {
  struct SPut {
    const CLSID* Clsid;
    DISPID Id;
    bool Indexed;
    HRESULT Expected;
  };
  const SPut puts[] = {
      {&CLSID_ScpLeadErrorInfo, 3, false, DISP_E_MEMBERNOTFOUND},  // Leads
      {&CLSID_ScpLeadData, 31, false, DISP_E_MEMBERNOTFOUND},      // Leads
      {&CLSID_ScpEncodedData, 1, false, DISP_E_MEMBERNOTFOUND},    // Leads
      {&CLSID_ScpEncodedData, 12, true, DISP_E_MEMBERNOTFOUND},    // Samples
      {&CLSID_ScpEncodedData, 3, false, S_OK},                     // LeadsSimultaneous
  };
  for (const SPut& put : puts) {
    SCOPED_TRACE(put.Id);
    Ptr<IDispatch> object;
    ASSERT_EQ(S_OK, objects::CreateObject(*put.Clsid, IID_IDispatch, (void**)object.Out()));
    VARIANT args[2];  // the value first, then the index (arguments go in reverse)
    V_VT(&args[0]) = VT_I2;
    V_I2(&args[0]) = 1;
    V_VT(&args[1]) = VT_I2;
    V_I2(&args[1]) = 1;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {args, &named, put.Indexed ? 2u : 1u, 1};
    EXPECT_EQ(put.Expected, object->Invoke(put.Id, IID_NULL, 1033, DISPATCH_PROPERTYPUT, &params,
                                           nullptr, nullptr, nullptr));
  }
}

}  // namespace
}  // namespace typelib
