// Module state and the four entry points of the in-process server.
#include "automation/module.h"

#include <cstring>
#include <map>
#include <new>

#include "KTXSCP32_h.h"
#include "automation/class_factory.h"
#include "automation/class_table.h"
#include "automation/registration.h"

namespace ktx_com {
namespace {

HINSTANCE g_instance = nullptr;
LONG g_locks = 0;
CRITICAL_SECTION g_section;
ITypeLib* g_library = nullptr;
// The locale the library is built and registered with (the idl's lcid).
constexpr LCID kLibraryLocale = 1033;
bool GuidLess(const GUID& a, const GUID& b) {
  return memcmp(&a, &b, sizeof(GUID)) < 0;
}
using InfoMap = std::map<GUID, ITypeInfo*, bool (*)(const GUID&, const GUID&)>;
InfoMap* g_infos = nullptr;

void ReleaseCaches() {
  for (SClassEntry& entry : g_classes) {
    if (entry.Factory) entry.Factory->Release();
    entry.Factory = nullptr;
  }
  if (g_infos) {
    for (auto& item : *g_infos) item.second->Release();
    delete g_infos;
    g_infos = nullptr;
  }
  if (g_library) g_library->Release();
  g_library = nullptr;
}

// The registered library for a caller of locale `lcid`. The library is registered under
// its own locale (1033) only, and the registry lookup of another caller's locale (exact,
// then its primary language, then neutral) finds nothing: German, French or British
// callers fall back to the library's own locale, then to neutral. A library registered
// under none of them fails with the error of the caller's own lookup.
HRESULT LoadLibraryForLocale(LCID lcid, ITypeLib** library) {
  const HRESULT first = LoadRegTypeLib(LIBID_KTXSCP32Lib, 1, 0, lcid, library);
  if (SUCCEEDED(first)) return first;
  // Script hosts pass the default-locale placeholders (0, 0x400, 0x800) as well.
  const LCID fallbacks[] = {ConvertDefaultLocale(lcid), kLibraryLocale, LOCALE_NEUTRAL};
  for (LCID other : fallbacks) {
    if (other != lcid && SUCCEEDED(LoadRegTypeLib(LIBID_KTXSCP32Lib, 1, 0, other, library))) {
      return S_OK;
    }
  }
  return first;
}

}  // namespace

void LockModule() {
  InterlockedIncrement(&g_locks);
}
void UnlockModule() {
  InterlockedDecrement(&g_locks);
}
LONG ModuleLockCount() {
  return InterlockedCompareExchange(&g_locks, 0, 0);
}
HINSTANCE ModuleInstance() {
  return g_instance;
}

HRESULT InterfaceTypeInfo(REFIID iid, LCID lcid, ITypeInfo** info) {
  EnterCriticalSection(&g_section);
  HRESULT hr = S_OK;
  if (!g_library) hr = LoadLibraryForLocale(lcid, &g_library);
  if (SUCCEEDED(hr) && !g_infos) g_infos = new (std::nothrow) InfoMap(GuidLess);
  if (SUCCEEDED(hr) && !g_infos) hr = E_OUTOFMEMORY;
  if (SUCCEEDED(hr)) {
    auto found = g_infos->find(iid);
    if (found == g_infos->end()) {
      ITypeInfo* loaded = nullptr;
      hr = g_library->GetTypeInfoOfGuid(iid, &loaded);
      if (SUCCEEDED(hr)) found = g_infos->emplace(iid, loaded).first;
    }
    if (SUCCEEDED(hr)) *info = found->second;
  }
  LeaveCriticalSection(&g_section);
  return hr;
}

}  // namespace ktx_com

using namespace ktx_com;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    InitializeCriticalSection(&g_section);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    ReleaseCaches();
    DeleteCriticalSection(&g_section);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  for (SClassEntry& entry : g_classes) {
    if (*entry.Clsid != clsid) continue;
    if (!entry.Create) break;
    EnterCriticalSection(&g_section);
    if (!entry.Factory) entry.Factory = NewClassFactory(entry.Create);
    IClassFactory* factory = entry.Factory;
    LeaveCriticalSection(&g_section);
    return factory ? factory->QueryInterface(iid, object) : E_OUTOFMEMORY;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return RegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return UnregisterServer();
}
