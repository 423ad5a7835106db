// Lead definitions and samples (rhythm or reference beats) into an IScpEncodedData.
#include <algorithm>

#include "automation/object_transfer.h"

namespace ktx_com {
namespace {

HRESULT PutLeads(IScpEncodedData* object, const SLeadDefinitions& leads, const SEncodedData& data,
                 unsigned count, EEncodedForm form) {
  HRESULT hr = object->Allocate(static_cast<short>(count));
  if (SUCCEEDED(hr)) hr = object->put_LeadsSimultaneous(static_cast<short>(leads.Flags >> 3));
  if (SUCCEEDED(hr))
    hr = object->put_Simultaneous(static_cast<VARIANT_BOOL>((leads.Flags >> 2) & 1));
  for (unsigned i = 0; SUCCEEDED(hr) && i < count; ++i) {
    const SLeadDef& lead = leads.Leads[i];
    const short index = static_cast<short>(i + 1);
    hr = object->put_LeadId(index, static_cast<short>(lead.LeadId));
    // A reference beat is its own time base: it runs from 1 over its own samples,
    // whatever the rhythm's lead definitions say.
    const bool beat = form == EEncodedForm::ReferenceBeat;
    const long start = beat ? 1 : static_cast<long>(lead.StartSample);
    const long end =
        beat ? static_cast<long>(data.SampleCounts[i]) : static_cast<long>(lead.EndSample);
    if (SUCCEEDED(hr)) hr = object->put_SamplesLeadStart(index, start);
    if (SUCCEEDED(hr)) hr = object->put_SamplesLeadEnd(index, end);
  }
  if (SUCCEEDED(hr)) hr = object->put_AVM(static_cast<short>(data.AVM));
  if (SUCCEEDED(hr)) hr = object->put_Encoding(static_cast<short>(data.Encoding));
  if (SUCCEEDED(hr)) hr = object->put_SampleInterval(static_cast<short>(data.SampleInterval));
  for (unsigned i = 0; SUCCEEDED(hr) && i < count; ++i) {
    const short index = static_cast<short>(i + 1);
    const short samples = static_cast<short>(data.SampleCounts[i]);
    hr = object->SetSamples(index, samples);
    if (SUCCEEDED(hr)) hr = object->SetDataSamples(index, 1, samples, data.LeadSamples[i]);
  }
  return hr;
}

}  // namespace

HRESULT FillEncodedDataObject(IScpEncodedData* object, const SLeadDefinitions* leads,
                              const SEncodedData* data, EEncodedForm form) {
  if (!object || !leads || !data) return E_FAIL;
  unsigned count = std::min<unsigned>(leads->Count, data->LeadCount);
  if (!leads->Leads || !data->SampleCounts || !data->LeadSamples) count = 0;
  if (count == 0) return E_FAIL;
  const HRESULT hr = PutLeads(object, *leads, *data, count, form);
  if (FAILED(hr)) object->Allocate(0);
  return hr;
}

}  // namespace ktx_com
