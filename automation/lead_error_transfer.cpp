// The lead error table from SLeadErrors into an IScpLeadErrorInfo.
#include "automation/object_transfer.h"

namespace ktx_com {
namespace {

HRESULT PutEntries(IScpLeadErrorInfo* object, const SLeadErrors& record) {
  HRESULT hr = object->Allocate(static_cast<short>(record.Count));
  for (unsigned i = 0; SUCCEEDED(hr) && i < record.Count; ++i) {
    if (!record.Errors) return E_FAIL;  // a count without entries
    const short index = static_cast<short>(i + 1);
    hr = object->put_LeadId(index, static_cast<short>(record.Errors[i].LeadId));
    if (SUCCEEDED(hr))
      hr = object->put_LeadErrorCode(index, static_cast<short>(record.Errors[i].ErrorBits));
  }
  return hr;
}

}  // namespace

HRESULT FillLeadErrorObject(IScpLeadErrorInfo* object, const SLeadErrors* record) {
  if (!object || !record) return E_FAIL;
  const HRESULT hr = PutEntries(object, *record);
  if (FAILED(hr)) object->Allocate(0);  // a half-filled table is worse than none
  return hr;
}

}  // namespace ktx_com
