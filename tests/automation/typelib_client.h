// Small helpers for reading a type library: scoped attribute and function descriptions,
// names and help strings as narrow text, and a type description in the tables' words.
#pragma once

#include <string>

#include "objects_client.h"

namespace typelib {

enum class ELibrarySource { kRegistered, kModuleFile };

// The library by its LIBID 1.0 from the registry, or straight from the module file
// (without registering it).
HRESULT LoadLibraryFrom(ELibrarySource source, ITypeLib** library);

class TypeAttr {
 public:
  explicit TypeAttr(ITypeInfo* info);
  ~TypeAttr();
  TypeAttr(const TypeAttr&) = delete;
  TypeAttr& operator=(const TypeAttr&) = delete;
  const TYPEATTR* operator->() const;

 private:
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

class FuncDesc {
 public:
  FuncDesc(ITypeInfo* info, UINT index);
  ~FuncDesc();
  FuncDesc(const FuncDesc&) = delete;
  FuncDesc& operator=(const FuncDesc&) = delete;
  const FUNCDESC* operator->() const;

 private:
  ITypeInfo* info_;
  FUNCDESC* desc_ = nullptr;
};

// Name and help string of a member (or of the type itself for MEMBERID_NIL), or of the
// library's type info `index` (MEMBERID_NIL: of the library).
struct Documentation {
  Documentation(ITypeInfo* info, MEMBERID member);
  Documentation(ITypeLib* library, INT index);
  std::string Name;
  std::string Help;
};

// "short", "long", "double", "BSTR", "VARIANT_BOOL", "DATE", "unsigned char", "HRESULT",
// an interface's name, with a "*" per pointer level.
std::string TypeText(ITypeInfo* owner, const TYPEDESC& type);

// The name of implemented type `index`, and of the library it comes from.
std::string ImplementedName(ITypeInfo* info, UINT index);
std::string ImplementedLibraryName(ITypeInfo* info, UINT index);

// The module's own entry points, from the module loaded by path.
FARPROC ModuleEntry(const char* name);
HRESULT ClassFactory(REFCLSID clsid, IClassFactory** factory);

// Every creatable class, with the interface it implements.
struct SClass {
  const char* Name;
  const CLSID* Clsid;
  const IID* Iid;
};
extern const SClass kClasses[11];

}  // namespace typelib
