// The type library as a client sees it, loaded both from the registry and from the module
// file, walked type by type and member by member against the hand-typed tables.
#include <map>
#include <string>
#include <vector>

#include "objects_client.h"
#include "typelib_client.h"
#include "typelib_expected.h"

namespace typelib {
namespace {

using objects::Narrow;
using objects::Ptr;

struct SParam {
  std::string Type;
  std::string Name;
  USHORT Flags;
};

// One virtual-table slot as the tables describe it.
struct SSlot {
  const SMember* Row;
  INVOKEKIND Invoke;
  std::vector<SParam> Params;
};

// "short* ipData [in,out]" -> type "short*", name "ipData", in and out.
SParam ParseParam(std::string text) {
  USHORT flags = PARAMFLAG_FIN;
  const size_t bracket = text.find(" [");
  if (bracket != std::string::npos) {
    flags = text.compare(bracket, std::string::npos, " [in,out]") == 0
                ? PARAMFLAG_FIN | PARAMFLAG_FOUT
                : PARAMFLAG_NONE;
    text.resize(bracket);
  }
  const size_t space = text.rfind(' ');
  return {text.substr(0, space), text.substr(space + 1), flags};
}

std::vector<SParam> ParseParams(const std::string& list) {
  std::vector<SParam> params;
  for (size_t start = 0; start < list.size();) {
    size_t end = list.find(", ", start);
    if (end == std::string::npos) end = list.size();
    params.push_back(ParseParam(list.substr(start, end - start)));
    start = end + 2;
  }
  return params;
}

std::vector<SSlot> Slots(const SInterface& table) {
  const USHORT retval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
  std::vector<SSlot> slots;
  for (const SMember& row : table.Members) {
    const std::vector<SParam> args = ParseParams(row.Args);
    if (row.Kind == kFunc) {
      SSlot slot{&row, INVOKE_FUNC, args};
      if (*row.Value) {
        SParam result = ParseParam(row.Value);
        slot.Params.push_back({result.Type + "*", result.Name, retval});
      }
      slots.push_back(slot);
      continue;
    }
    SSlot get{&row, INVOKE_PROPERTYGET, args};
    get.Params.push_back({std::string(row.Value) + "*", "pVal", retval});
    slots.push_back(get);
    if (row.Kind == kGet) continue;
    SSlot put{&row, INVOKE_PROPERTYPUT, args};
    put.Params.push_back({row.Value, "", PARAMFLAG_FIN});  // the new value has no name
    slots.push_back(put);
  }
  return slots;
}

std::string Help(const SMember& row) {
  if (row.Help) return row.Help;
  return std::string(row.Kind == kFunc ? "method " : "property ") + row.Name;
}

void CheckSlots(ITypeInfo* info, const SInterface& table) {
  TypeAttr attr(info);
  const std::vector<SSlot> slots = Slots(table);
  ASSERT_EQ(slots.size(), attr->cFuncs);
  for (UINT k = 0; k < slots.size(); ++k) {
    const SSlot& slot = slots[k];
    SCOPED_TRACE(std::string(table.Name) + "::" + slot.Row->Name + " invoke kind " +
                 std::to_string(slot.Invoke));
    FuncDesc func(info, k);
    EXPECT_EQ(slot.Row->Id, func->memid);
    EXPECT_EQ(slot.Invoke, func->invkind);
    EXPECT_EQ(FUNC_PUREVIRTUAL, func->funckind);
    // IUnknown's three and IDispatch's four come first, then the rows in order.
    EXPECT_EQ(static_cast<SHORT>((7 + k) * sizeof(void*)), func->oVft);
    EXPECT_EQ("HRESULT", TypeText(info, func->elemdescFunc.tdesc));
    EXPECT_EQ(0, func->cParamsOpt);
    ASSERT_EQ(slot.Params.size(), static_cast<size_t>(func->cParams));
    for (size_t i = 0; i < slot.Params.size(); ++i) {
      const ELEMDESC& param = func->lprgelemdescParam[i];
      EXPECT_EQ(slot.Params[i].Type, TypeText(info, param.tdesc)) << "parameter " << i;
      EXPECT_EQ(slot.Params[i].Flags, param.paramdesc.wParamFlags) << "parameter " << i;
    }
    // Names and documentation are found by DISPID, which a put shares with its get.
    if (slot.Invoke != INVOKE_PROPERTYPUT) {
      BSTR names[16] = {};
      UINT count = 0;
      ASSERT_EQ(S_OK, info->GetNames(func->memid, names, 16, &count));
      std::vector<std::string> found;
      for (UINT i = 0; i < count; ++i) found.push_back(Narrow(names[i]));
      std::vector<std::string> expected{slot.Row->Name};
      for (const SParam& param : slot.Params) expected.push_back(param.Name);
      EXPECT_EQ(expected, found);
    }
    Documentation doc(info, func->memid);
    EXPECT_EQ(slot.Row->Name, doc.Name);
    EXPECT_EQ(Help(*slot.Row), doc.Help);
  }
}

class LibraryTest : public ::testing::TestWithParam<ELibrarySource> {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, LoadLibraryFrom(GetParam(), library.Out()));
    const UINT count = library->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i)
      index[Documentation(library.Get(), static_cast<INT>(i)).Name] = i;
  }
  void TypeInfo(const std::string& name, Ptr<ITypeInfo>* info) {
    auto found = index.find(name);
    if (found == index.end()) {
      ADD_FAILURE() << "no type info named " << name;
    } else {
      EXPECT_EQ(S_OK, library->GetTypeInfo(found->second, info->Out()));
    }
  }
  Ptr<ITypeLib> library;
  std::map<std::string, UINT> index;
};

TEST_P(LibraryTest, AttributesNameAndHelpString) {
  Documentation doc(library.Get(), MEMBERID_NIL);
  EXPECT_EQ("KTXSCP32Lib", doc.Name);
  EXPECT_EQ("KTXSCP32 1.0 Type Library", doc.Help);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(S_OK, library->GetLibAttr(&attr));
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  EXPECT_EQ(1033u, attr->lcid);
  // The library is described as a Win32 one; the 64-bit build's compiler stamps its own
  // system kind, and the module registers the library under that.
  EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, attr->syskind);
  library->ReleaseTLibAttr(attr);
}

TEST_P(LibraryTest, TypeInfosInIndexOrder) {
  ASSERT_EQ(kTypeInfos.size(), library->GetTypeInfoCount());
  for (UINT i = 0; i < kTypeInfos.size(); ++i) {
    const STypeEntry& entry = kTypeInfos[i];
    SCOPED_TRACE(entry.Name);
    TYPEKIND kind = TKIND_MAX;
    EXPECT_EQ(S_OK, library->GetTypeInfoType(i, &kind));
    EXPECT_EQ(entry.Kind, kind);
    Documentation doc(library.Get(), static_cast<INT>(i));
    EXPECT_EQ(entry.Name, doc.Name);
    EXPECT_EQ(entry.Help, doc.Help);
    if (kind != TKIND_COCLASS) continue;
    // A creatable class whose one, default interface is "I" + its name.
    Ptr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, library->GetTypeInfo(i, coclass.Out()));
    TypeAttr attr(coclass.Get());
    EXPECT_EQ(TYPEFLAG_FCANCREATE, attr->wTypeFlags);
    ASSERT_EQ(1, attr->cImplTypes);
    INT flags = 0;
    EXPECT_EQ(S_OK, coclass->GetImplTypeFlags(0, &flags));
    EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, flags);
    EXPECT_EQ(std::string("I") + entry.Name, ImplementedName(coclass.Get(), 0));
  }
}

TEST_P(LibraryTest, DualInterfacesMemberByMember) {
  for (const SInterface& table : kInterfaces) {
    SCOPED_TRACE(table.Name);
    Ptr<ITypeInfo> dispatch;
    TypeInfo(table.Name, &dispatch);
    ASSERT_NE(nullptr, dispatch.Get());
    {
      TypeAttr attr(dispatch.Get());
      EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
      // The oleautomation flag belongs to the virtual-table side below: a dispinterface
      // may not carry it.
      EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE, attr->wTypeFlags);
      EXPECT_EQ(0, attr->wMajorVerNum);
      EXPECT_EQ(0, attr->wMinorVerNum);
    }
    // The virtual-table side of the dual interface.
    HREFTYPE ref = 0;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
    Ptr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, vtable.Out()));
    TypeAttr attr(vtable.Get());
    EXPECT_EQ(TKIND_INTERFACE, attr->typekind);
    EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE, attr->wTypeFlags);
    EXPECT_EQ(0, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    ASSERT_EQ(1, attr->cImplTypes);  // IDispatch, and nothing else
    EXPECT_EQ("IDispatch", ImplementedName(vtable.Get(), 0));
    EXPECT_EQ("stdole", ImplementedLibraryName(vtable.Get(), 0));
    CheckSlots(vtable.Get(), table);
  }
}

TEST_P(LibraryTest, EnumerationsNamesValuesAndHelpStrings) {
  for (const SEnum& table : kEnums) {
    SCOPED_TRACE(table.Name);
    Ptr<ITypeInfo> info;
    TypeInfo(table.Name, &info);
    ASSERT_NE(nullptr, info.Get());
    TypeAttr attr(info.Get());
    EXPECT_EQ(TKIND_ENUM, attr->typekind);
    ASSERT_EQ(table.Values.size(), attr->cVars);
    for (UINT i = 0; i < table.Values.size(); ++i) {
      const SEnumValue& value = table.Values[i];
      VARDESC* var = nullptr;
      ASSERT_EQ(S_OK, info->GetVarDesc(i, &var));
      VARIANT number;
      VariantInit(&number);
      EXPECT_EQ(VAR_CONST, var->varkind);
      EXPECT_EQ(S_OK, VariantChangeType(&number, var->lpvarValue, 0, VT_I4));
      EXPECT_EQ(value.Value, V_I4(&number)) << value.Name;
      Documentation doc(info.Get(), var->memid);
      EXPECT_EQ(value.Name, doc.Name);
      EXPECT_EQ(value.Help, doc.Help) << value.Name;
      info->ReleaseVarDesc(var);
    }
  }
}

// A put's value carries no name anywhere in the library, while every other parameter does.
TEST_P(LibraryTest, PutValuesHaveNoName) {
  const auto isName = [this](const wchar_t* name) {
    std::wstring buffer(name);
    BOOL found = FALSE;
    EXPECT_EQ(S_OK, library->IsName(&buffer[0], 0, &found));
    return found != FALSE;
  };
  EXPECT_TRUE(isName(L"pVal"));
  EXPECT_TRUE(isName(L"iSampleIndex"));
  EXPECT_FALSE(isName(L"newVal"));
  EXPECT_FALSE(isName(L"rhs"));
}

INSTANTIATE_TEST_SUITE_P(Loaded, LibraryTest,
                         ::testing::Values(ELibrarySource::kRegistered,
                                           ELibrarySource::kModuleFile),
                         [](const ::testing::TestParamInfo<ELibrarySource>& source) {
                           return source.param == ELibrarySource::kRegistered ? "Registered"
                                                                              : "ModuleFile";
                         });

}  // namespace
}  // namespace typelib
