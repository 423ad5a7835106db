#include "automation/lead_set_dispatch.h"

#include <cstdint>
#include <vector>

#include "automation/script_arrays.h"

namespace ktx_com {

HRESULT InvokeLeadSet(DISPPARAMS* params, UINT countPosition, UINT arrayPosition,
                      const std::function<HRESULT(DISPPARAMS*)>& invoke) {
  if (!params || params->cNamedArgs != 0 || params->cArgs <= arrayPosition) return invoke(params);
  std::vector<int16_t> ids;
  HRESULT hr = ScriptShorts(&params->rgvarg[params->cArgs - 1 - arrayPosition], &ids);
  if (hr == S_FALSE) return invoke(params);
  if (FAILED(hr)) return hr;
  LONG count = 0;
  hr = ArgumentAsLong(params, countPosition, &count);
  if (FAILED(hr)) return hr;
  // Only the low 8 bits of the count are asked about.
  if (static_cast<size_t>(count & 0xFF) > ids.size()) return E_INVALIDARG;
  ids.push_back(0);  // a valid address even for an empty array
  return InvokeWithReference(params, arrayPosition, VT_I2, ids.data(), invoke);
}

}  // namespace ktx_com
