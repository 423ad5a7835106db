#include "typelib_client.h"

#include "KTXSCP32_h.h"

namespace typelib {
namespace {

std::wstring ModulePath() {
  const std::string narrow = KTX_MODULE_PATH;
  return std::wstring(narrow.begin(), narrow.end());  // a plain ASCII path
}

std::string Narrow(BSTR text) {
  return objects::Narrow(text);
}

}  // namespace

HRESULT LoadLibraryFrom(ELibrarySource source, ITypeLib** library) {
  if (source == ELibrarySource::kRegistered)
    return LoadRegTypeLib(LIBID_KTXSCP32Lib, 1, 0, 1033, library);
  return LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library);
}

TypeAttr::TypeAttr(ITypeInfo* info) : info_(info) {
  EXPECT_EQ(S_OK, info_->GetTypeAttr(&attr_));
}
TypeAttr::~TypeAttr() {
  if (attr_) info_->ReleaseTypeAttr(attr_);
}
const TYPEATTR* TypeAttr::operator->() const {
  static const TYPEATTR kEmpty = {};
  return attr_ ? attr_ : &kEmpty;
}

FuncDesc::FuncDesc(ITypeInfo* info, UINT index) : info_(info) {
  EXPECT_EQ(S_OK, info_->GetFuncDesc(index, &desc_));
}
FuncDesc::~FuncDesc() {
  if (desc_) info_->ReleaseFuncDesc(desc_);
}
const FUNCDESC* FuncDesc::operator->() const {
  static const FUNCDESC kEmpty = {};
  return desc_ ? desc_ : &kEmpty;
}

Documentation::Documentation(ITypeInfo* info, MEMBERID member) {
  BSTR name = nullptr;
  BSTR help = nullptr;
  EXPECT_EQ(S_OK, info->GetDocumentation(member, &name, &help, nullptr, nullptr));
  Name = Narrow(name);
  Help = Narrow(help);
}

Documentation::Documentation(ITypeLib* library, INT index) {
  BSTR name = nullptr;
  BSTR help = nullptr;
  EXPECT_EQ(S_OK, library->GetDocumentation(index, &name, &help, nullptr, nullptr));
  Name = Narrow(name);
  Help = Narrow(help);
}

std::string TypeText(ITypeInfo* owner, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_PTR:
      return TypeText(owner, *type.lptdesc) + "*";
    case VT_USERDEFINED: {
      objects::Ptr<ITypeInfo> referenced;
      if (owner->GetRefTypeInfo(type.hreftype, referenced.Out()) != S_OK) return "unresolved";
      return Documentation(referenced.Get(), MEMBERID_NIL).Name;
    }
    case VT_I2:
      return "short";
    case VT_I4:
      return "long";
    case VT_R8:
      return "double";
    case VT_BSTR:
      return "BSTR";
    case VT_BOOL:
      return "VARIANT_BOOL";
    case VT_DATE:
      return "DATE";
    case VT_UI1:
      return "unsigned char";
    case VT_HRESULT:
      return "HRESULT";
    default:
      return "VARTYPE " + std::to_string(type.vt);
  }
}

std::string ImplementedName(ITypeInfo* info, UINT index) {
  HREFTYPE ref = 0;
  objects::Ptr<ITypeInfo> implemented;
  if (info->GetRefTypeOfImplType(index, &ref) != S_OK ||
      info->GetRefTypeInfo(ref, implemented.Out()) != S_OK)
    return "unresolved";
  return Documentation(implemented.Get(), MEMBERID_NIL).Name;
}

std::string ImplementedLibraryName(ITypeInfo* info, UINT index) {
  HREFTYPE ref = 0;
  objects::Ptr<ITypeInfo> implemented;
  objects::Ptr<ITypeLib> library;
  UINT position = 0;
  if (info->GetRefTypeOfImplType(index, &ref) != S_OK ||
      info->GetRefTypeInfo(ref, implemented.Out()) != S_OK ||
      implemented->GetContainingTypeLib(library.Out(), &position) != S_OK)
    return "unresolved";
  return Documentation(library.Get(), MEMBERID_NIL).Name;
}

FARPROC ModuleEntry(const char* name) {
  static const HMODULE module = LoadLibraryA(KTX_MODULE_PATH);
  return module ? GetProcAddress(module, name) : nullptr;
}

HRESULT ClassFactory(REFCLSID clsid, IClassFactory** factory) {
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get =
      reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(ModuleEntry("DllGetClassObject")));
  if (!get) return E_UNEXPECTED;
  return get(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory));
}

const SClass kClasses[11] = {
    {"ScpPatientInfo", &CLSID_ScpPatientInfo, &IID_IScpPatientInfo},
    {"ScpRecordingInfo", &CLSID_ScpRecordingInfo, &IID_IScpRecordingInfo},
    {"ScpGeneralInfo", &CLSID_ScpGeneralInfo, &IID_IScpGeneralInfo},
    {"ScpAnalysisInfo", &CLSID_ScpAnalysisInfo, &IID_IScpAnalysisInfo},
    {"ScpLeadErrorInfo", &CLSID_ScpLeadErrorInfo, &IID_IScpLeadErrorInfo},
    {"ScpEncodedData", &CLSID_ScpEncodedData, &IID_IScpEncodedData},
    {"ScpWriter", &CLSID_ScpWriter, &IID_IScpWriter},
    {"ScpReader", &CLSID_ScpReader, &IID_IScpReader},
    {"ScpLeadData", &CLSID_ScpLeadData, &IID_IScpLeadData},
    {"ScpLoader", &CLSID_ScpLoader, &IID_IScpLoader},
    {"ScpAnalysis", &CLSID_ScpAnalysis, &IID_IScpAnalysis},
};

}  // namespace typelib
