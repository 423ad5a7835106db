#include "objects_client.h"

namespace objects {
namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

HMODULE Module() {
  static HMODULE module = LoadLibraryA(KTX_MODULE_PATH);
  return module;
}

}  // namespace

Text::Text(const std::string& text) : text_(nullptr) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  text_ = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, text_, length);
}

std::string Narrow(BSTR text) {
  if (!text) return "";
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(length - 1));
  SysFreeString(text);
  return narrow;
}

HRESULT CreateObject(REFCLSID clsid, REFIID iid, void** object) {
  auto get = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(Module(), "DllGetClassObject")));
  if (!get) return E_UNEXPECTED;
  IClassFactory* factory = nullptr;
  HRESULT hr = get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, iid, object);
  factory->Release();
  return hr;
}

std::vector<short> LeadSamples(IScpEncodedData* data, short lead) {
  const short count = Get(data, &IScpEncodedData::get_Samples, lead);
  std::vector<short> samples(static_cast<size_t>(count > 0 ? count : 0));
  if (count > 0) {
    EXPECT_EQ(S_OK, data->GetDataSamples(lead, 1, count, samples.data()));
  }
  return samples;
}

HRESULT ModuleCanUnloadNow() {
  auto can = reinterpret_cast<CanUnloadNowFn>(
      reinterpret_cast<void*>(GetProcAddress(Module(), "DllCanUnloadNow")));
  return can ? can() : E_UNEXPECTED;
}

void ModuleTest::SetUp() {
  ASSERT_NE(nullptr, Module()) << "cannot load " << KTX_MODULE_PATH;
}

ModuleTest::~ModuleTest() {
  EXPECT_EQ(S_OK, ModuleCanUnloadNow()) << "an object or lock outlived the test";
  CoUninitialize();
}

std::string ExampleFile(const std::string& name) {
  return std::string(KTX_EXAMPLES_DIR) + "/" + name;
}

std::string LongName(size_t length) {
  return "C:\\" + std::string(length - 3, 'n');
}

}  // namespace objects
