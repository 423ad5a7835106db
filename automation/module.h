// Module-wide state of the automation server: lock count, instance handle and the
// type information every object's IDispatch is built on.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace ktx_com {

void LockModule();
void UnlockModule();
LONG ModuleLockCount();
HINSTANCE ModuleInstance();

// The type information of an interface of the registered library, loaded on first use
// and kept until the module unloads.
HRESULT InterfaceTypeInfo(REFIID iid, LCID lcid, ITypeInfo** info);

}  // namespace ktx_com
