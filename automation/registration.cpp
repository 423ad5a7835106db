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
  std::wstring path = module;
  hr = RegisterTypeLib(library, &path[0], nullptr);  // the library records no help file
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
  HRESULT hr = UnRegisterTypeLib(LIBID_KTXSCP32Lib, 1, 0, 1033, SYS_WIN32);
  return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
}

}  // namespace ktx_com
