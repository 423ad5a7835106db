// GetDataSamples and SetDataSamples called late-bound with an array of samples
// (script_arrays.h): the samples asked for must lie within the array.
#include <cstdint>
#include <vector>

#include "automation/com_boundary.h"
#include "automation/scp_encoded_data.h"
#include "automation/script_arrays.h"

namespace ktx_com {
namespace {

constexpr DISPID kSetDataSamples = 11;
constexpr DISPID kGetDataSamples = 14;
constexpr UINT kLengthPosition = 2;  // iIndex, iSampleIndex, iSampleLength, ipData
constexpr UINT kDataPosition = 3;

}  // namespace

HRESULT CScpEncodedData::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* arg) {
  return ComBoundary([&]() -> HRESULT {
    auto invoke = [&](DISPPARAMS* p) {
      return CComObject::Invoke(id, iid, lcid, flags, p, result, exception, arg);
    };
    const bool gets = id == kGetDataSamples;
    if ((!gets && id != kSetDataSamples) || !params || params->cNamedArgs != 0 ||
        params->cArgs <= kDataPosition) {
      return invoke(params);
    }
    const VARIANT* array = &params->rgvarg[params->cArgs - 1 - kDataPosition];
    size_t elements = 0;
    HRESULT hr = ScriptArrayLength(array, gets, &elements);
    if (hr == S_FALSE) return invoke(params);
    if (FAILED(hr)) return hr;
    LONG length = 0;
    hr = ArgumentAsLong(params, kLengthPosition, &length);
    if (FAILED(hr)) return hr;
    // A length below 1 is the object's to refuse (E_FAIL); one beyond the array is ours.
    const size_t wanted = length > 0 ? static_cast<size_t>(length) : 0;
    if (wanted > elements) return E_INVALIDARG;
    std::vector<int16_t> samples;
    if (!gets) {
      hr = ScriptShorts(array, &samples, wanted);
      if (FAILED(hr)) return hr;
    }
    samples.resize(wanted + 1);  // a valid address even for no samples
    hr = InvokeWithReference(params, kDataPosition, VT_I2, samples.data(), invoke);
    if (gets && hr == S_OK) hr = StoreScriptShorts(array, samples.data(), wanted);
    return hr;
  });
}

}  // namespace ktx_com
