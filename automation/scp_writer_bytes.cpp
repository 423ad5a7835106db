// The memory creations called late-bound with an array of bytes (script_arrays.h).
#include <cstdint>
#include <vector>

#include "automation/com_boundary.h"
#include "automation/scp_writer.h"
#include "automation/script_arrays.h"

namespace ktx_com {
namespace {

constexpr DISPID kRaw12LMem = 25;
constexpr DISPID kRaw8bitMem = 26;
constexpr DISPID kRaw16bitMem = 28;
constexpr UINT kDataPosition = 1;  // the argument after the file name
constexpr UINT kSizePosition = 2;

}  // namespace

HRESULT CScpWriter::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* arg) {
  return ComBoundary([&]() -> HRESULT {
    auto invoke = [&](DISPPARAMS* p) {
      return CComObject::Invoke(id, iid, lcid, flags, p, result, exception, arg);
    };
    const bool memory = id == kRaw12LMem || id == kRaw8bitMem || id == kRaw16bitMem;
    if (!memory || !params || params->cNamedArgs != 0 || params->cArgs <= kSizePosition) {
      return invoke(params);
    }
    std::vector<uint8_t> bytes;
    HRESULT hr = ScriptBytes(&params->rgvarg[params->cArgs - 1 - kDataPosition], &bytes);
    if (hr == S_FALSE) return invoke(params);
    if (FAILED(hr)) return hr;
    // The size may not reach past the copy: the acquisition readers trust it.
    LONG size = 0;
    hr = ArgumentAsLong(params, kSizePosition, &size);
    if (FAILED(hr)) return hr;
    if (size < 0 || static_cast<size_t>(size) > bytes.size()) return E_INVALIDARG;
    bytes.push_back(0);  // a valid address even for an empty array
    return InvokeWithReference(params, kDataPosition, VT_UI1, bytes.data(), invoke);
  });
}

}  // namespace ktx_com
