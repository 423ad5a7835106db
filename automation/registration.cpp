// Writes, for each class, the two ProgID keys and its CLSID key under HKEY_CLASSES_ROOT,
// the same entries a registrar script would; the CLSID key itself is never removed.
#include "automation/registration.h"

#include <string>

#include "KTXSCP32_h.h"
#include "automation/class_table.h"
#include "automation/module.h"

namespace ktx_com {
namespace {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT SetKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr);
  if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT CreateEmptyKey(const std::wstring& path) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr);
  if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  RegCloseKey(key);
  return S_OK;
}

void DeleteTree(const std::wstring& path) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
  return path;
}

HRESULT RegisterClass(const SClassEntry& entry, const std::wstring& module) {
  const std::wstring name = entry.Name;
  const std::wstring description = name + L" Class";
  const std::wstring independent = L"KTXSCP32." + name;
  const std::wstring progId = independent + L".1";
  const std::wstring clsid = GuidText(*entry.Clsid);
  const std::wstring clsidKey = L"CLSID\\" + clsid;
  DeleteTree(clsidKey);  // replaced whole
  const struct {
    std::wstring path;
    const wchar_t* value_name;
    std::wstring value;
  } values[] = {
      {progId, nullptr, description},
      {progId + L"\\CLSID", nullptr, clsid},
      {independent, nullptr, description},
      {independent + L"\\CLSID", nullptr, clsid},
      {independent + L"\\CurVer", nullptr, progId},
      {clsidKey, nullptr, description},
      {clsidKey + L"\\ProgID", nullptr, progId},
      {clsidKey + L"\\VersionIndependentProgID", nullptr, independent},
      {clsidKey + L"\\InprocServer32", nullptr, module},
      {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsidKey + L"\\TypeLib", nullptr, GuidText(LIBID_KTXSCP32Lib)},
  };
  for (const auto& v : values) {
    HRESULT hr = SetKey(v.path, v.value_name, v.value);
    if (FAILED(hr)) return hr;
  }
  return CreateEmptyKey(clsidKey + L"\\Programmable");
}

// The per-user mode of the platform registrar. The module has no entry point that switches
// it on, so registration is machine-wide unless a registrar hosting the module sets it.
bool g_perUser = false;

using RegisterForUserFn = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
using UnregisterForUserFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

// RegisterTypeLibForUser and its mirror are missing from old OLEAUT32 versions: look them up.
FARPROC OleAutomationEntry(const char* name) {
  HMODULE oleaut = GetModuleHandleW(L"OLEAUT32.DLL");
  return oleaut ? GetProcAddress(oleaut, name) : nullptr;
}

HRESULT RegisterLibrary(ITypeLib* library, std::wstring path) {
  if (g_perUser) {
    auto forUser = reinterpret_cast<RegisterForUserFn>(
        reinterpret_cast<void*>(OleAutomationEntry("RegisterTypeLibForUser")));
    if (forUser) return forUser(library, &path[0], nullptr);
  }
  return RegisterTypeLib(library, &path[0], nullptr);  // the library records no help file
}

HRESULT UnregisterLibrary(const TLIBATTR& attr) {
  if (g_perUser) {
    auto forUser = reinterpret_cast<UnregisterForUserFn>(
        reinterpret_cast<void*>(OleAutomationEntry("UnRegisterTypeLibForUser")));
    if (forUser)
      return forUser(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid, attr.syskind);
  }
  return UnRegisterTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid,
                           attr.syskind);
}

}  // namespace

HRESULT RegisterServer() {
  const std::wstring module = ModulePath();
  for (const SClassEntry& entry : g_classes) {
    HRESULT hr = RegisterClass(entry, module);
    if (FAILED(hr)) return hr;
  }
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(module.c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  hr = RegisterLibrary(library, module);
  library->Release();
  return hr;
}

HRESULT UnregisterServer() {
  for (const SClassEntry& entry : g_classes) {
    const std::wstring independent = std::wstring(L"KTXSCP32.") + entry.Name;
    DeleteTree(independent + L".1");
    DeleteTree(independent);
    DeleteTree(L"CLSID\\" + GuidText(*entry.Clsid));
  }
  // The library is unregistered under its own system kind: a 64-bit build's library is
  // registered as win64, and asking for win32 there fails.
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  TLIBATTR* attr = nullptr;
  hr = library->GetLibAttr(&attr);
  if (SUCCEEDED(hr)) {
    // A library that is not registered is already as asked; unregistering it would fail.
    BSTR registered = nullptr;
    if (QueryPathOfRegTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                              &registered) == S_OK) {
      SysFreeString(registered);
      hr = UnregisterLibrary(*attr);
    }
    library->ReleaseTLibAttr(attr);
  }
  library->Release();
  return hr;
}

}  // namespace ktx_com
