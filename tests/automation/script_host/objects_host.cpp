// A minimal script host for the automation tests: runs one VBScript or JScript file with
// the WScript members the tests use (Echo, Arguments, ScriptFullName), reports script
// errors as "Error:" lines, and after the engine is closed asks KTXSCP32.dll whether it
// may be unloaded: every object a script made must be gone by then.
//   objects_host.exe <script.vbs|script.js> [arguments...]
#include <windows.h>

// Before the script interfaces' header: it turns their identifiers into definitions.
#include <initguid.h>

#include <activscp.h>
#include <oleauto.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::string Narrow(const wchar_t* text) {
  if (!text) return "";
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(length - 1));
  return narrow;
}

// WScript by hand: names to numbers, and one Invoke. It is its own Arguments collection
// too: Arguments without an index hands out the object itself, whose Item (the default
// member), Count and length serve the list.
class CWScript : public IDispatch {
 public:
  CWScript(std::wstring script, std::vector<std::wstring> arguments)
      : script_(std::move(script)), arguments_(std::move(arguments)) {}
  virtual ~CWScript() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    static const wchar_t* const kNames[] = {L"Echo", L"Arguments", L"ScriptFullName",
                                            L"Item", L"Count",     L"length"};
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (DISPID n = 0; n < 6; ++n) {
        if (_wcsicmp(names[i], kNames[n]) == 0) ids[i] = n + 1;
      }
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if (result) VariantInit(result);
    const UINT count = params ? params->cArgs : 0;
    switch (id) {
      case 1:
        Echo(params);
        return S_OK;
      case 2:
        if (count == 1) return Item(params, result);
        if (result) {
          AddRef();
          V_VT(result) = VT_DISPATCH;
          V_DISPATCH(result) = this;
        }
        return S_OK;
      case 3:
        return Text(script_, result);
      case DISPID_VALUE:
      case 4:
        return count == 1 ? Item(params, result) : DISP_E_BADPARAMCOUNT;
      case 5:
      case 6:
        if (result) {
          V_VT(result) = VT_I4;
          V_I4(result) = static_cast<LONG>(arguments_.size());
        }
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  static void Echo(DISPPARAMS* params) {
    std::string line;
    for (UINT i = params ? params->cArgs : 0; i > 0; --i) {
      VARIANT text;
      VariantInit(&text);
      if (SUCCEEDED(VariantChangeType(&text, &params->rgvarg[i - 1], VARIANT_ALPHABOOL, VT_BSTR))) {
        if (!line.empty()) line += " ";
        line += Narrow(V_BSTR(&text));
      }
      VariantClear(&text);
    }
    std::printf("%s\n", line.c_str());
  }
  static HRESULT Text(const std::wstring& text, VARIANT* result) {
    if (result) {
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(text.c_str());
    }
    return S_OK;
  }
  HRESULT Item(DISPPARAMS* params, VARIANT* result) const {
    VARIANT index;
    VariantInit(&index);
    if (FAILED(VariantChangeType(&index, &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
    if (V_I4(&index) < 0 || static_cast<size_t>(V_I4(&index)) >= arguments_.size()) {
      return DISP_E_BADINDEX;
    }
    return Text(arguments_[static_cast<size_t>(V_I4(&index))], result);
  }

  std::wstring script_;
  std::vector<std::wstring> arguments_;
  ULONG refs_ = 1;
};

class CSite : public IActiveScriptSite {
 public:
  explicit CSite(IDispatch* wscript) : wscript_(wscript) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IActiveScriptSite) {
      *object = static_cast<IActiveScriptSite*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on main's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override {
    *lcid = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item,
                                        ITypeInfo** info) override {
    if (info) *info = nullptr;
    if (item) *item = nullptr;
    if (_wcsicmp(name, L"WScript") != 0) return TYPE_E_ELEMENTNOTFOUND;
    if ((mask & SCRIPTINFO_IUNKNOWN) && item) {
      wscript_->AddRef();
      *item = wscript_;
    }
    return (mask & SCRIPTINFO_ITYPEINFO) ? TYPE_E_ELEMENTNOTFOUND : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* version) override {
    *version = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    EXCEPINFO info = {};
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    error->GetExceptionInfo(&info);
    error->GetSourcePosition(&context, &line, &column);
    std::printf("Error: line %lu: 0x%08lX %s\n", line + 1, static_cast<unsigned long>(info.scode),
                Narrow(info.bstrDescription).c_str());
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    failed = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

  bool failed = false;

 private:
  IDispatch* wscript_;
};

using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::printf("Error: usage: objects_host <script> [arguments...]\n");
    return 2;
  }
  const std::string path = argv[1];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::printf("Error: cannot read %s\n", path.c_str());
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  const bool vbscript = path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".vbs") == 0;
  CLSID engineClass;
  if (FAILED(CLSIDFromProgID(vbscript ? L"VBScript" : L"JScript", &engineClass))) {
    std::printf("Error: no script engine\n");
    return 2;
  }
  std::vector<std::wstring> arguments;
  for (int i = 2; i < argc; ++i) arguments.push_back(Wide(argv[i]));
  IDispatch* wscript = new CWScript(Wide(path), arguments);
  CSite site(wscript);
  IActiveScript* engine = nullptr;
  IActiveScriptParse* parse = nullptr;
  HRESULT hr = CoCreateInstance(engineClass, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(&engine));
  if (SUCCEEDED(hr)) {
    hr = engine->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&parse));
  }
  if (SUCCEEDED(hr)) hr = engine->SetScriptSite(&site);
  if (SUCCEEDED(hr)) hr = parse->InitNew();
  if (SUCCEEDED(hr)) hr = engine->AddNamedItem(L"WScript", SCRIPTITEM_ISVISIBLE);
  if (SUCCEEDED(hr)) {
    EXCEPINFO info = {};
    hr = parse->ParseScriptText(Wide(text.str()).c_str(), nullptr, nullptr, nullptr, 0, 0,
                                SCRIPTTEXT_ISVISIBLE, nullptr, &info);
  }
  if (SUCCEEDED(hr)) hr = engine->SetScriptState(SCRIPTSTATE_CONNECTED);
  if (FAILED(hr) && !site.failed) std::printf("Error: script engine 0x%08lX\n", hr);
  if (engine) engine->Close();
  if (parse) parse->Release();
  if (engine) engine->Release();
  wscript->Release();

  // Every object the script made is released now, so the module must allow unloading.
  HMODULE module = GetModuleHandleA("KTXSCP32.dll");
  auto canUnload = module ? reinterpret_cast<CanUnloadNowFn>(
                                reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")))
                          : nullptr;
  if (canUnload && canUnload() != S_OK) {
    std::printf("Error: KTXSCP32.dll cannot be unloaded: an object outlived the script\n");
    return 1;
  }
  return FAILED(hr) || site.failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  const int result = Run(argc, argv);
  CoUninitialize();
  return result;
}
