// What a client of KTXSCP32.dll finds in its type library, typed by hand from the
// published interface tables: the type infos in index order, every member of every dual
// interface and both enumerations. Nothing here is generated from the IDL.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <vector>

namespace typelib {

enum EMemberKind { kProp, kGet, kFunc };  // get and put, get only, method

// One row of an interface table. Types use a small vocabulary: short long double BSTR
// VARIANT_BOOL DATE, "T*" for a pointer, and the library's interface names.
struct SMember {
  const char* Name;
  DISPID Id;
  EMemberKind Kind;
  // A property's value type, or a method's result as "type name" ("" when it has none).
  const char* Value;
  // The index arguments of a property or the parameters of a method, "type name" each,
  // separated by ", "; [in] unless "[in,out]" or "[]" (no direction flag) follows.
  const char* Args = "";
  const char* Help = nullptr;  // null: "property Name" or "method Name"
};

struct SInterface {
  const char* Name;
  std::vector<SMember> Members;
};

struct STypeEntry {
  TYPEKIND Kind;  // TKIND_DISPATCH stands for a dual interface
  const char* Name;
  const char* Help;  // "" when the type has none
};

struct SEnumValue {
  const char* Name;
  long Value;
  const char* Help;
};

struct SEnum {
  const char* Name;
  std::vector<SEnumValue> Values;
};

extern const std::vector<STypeEntry> kTypeInfos;
extern const std::vector<SInterface> kInterfaces;
extern const std::vector<SEnum> kEnums;

}  // namespace typelib
