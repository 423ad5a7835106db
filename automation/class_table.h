// The object map: every creatable class in registration order, with its creator.
#pragma once

#include <windows.h>

namespace ktx_com {

using CreateInstanceFn = HRESULT (*)(IUnknown* outer, REFIID iid, void** object);

struct SClassEntry {
  const CLSID* Clsid;
  const wchar_t* Name;      // "ScpReader"; the ProgIDs are "KTXSCP32." + Name (+ ".1")
  CreateInstanceFn Create;  // null while the class has no implementation yet
  IClassFactory* Factory;   // cached class object
};

extern SClassEntry g_classes[11];

}  // namespace ktx_com
