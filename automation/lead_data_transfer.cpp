// Per-lead measurements from SLeadMeasurements into an IScpLeadData.
#include "automation/object_transfer.h"

namespace ktx_com {
namespace {

using Object = IScpLeadData;
struct SValuePut {
  HRESULT (STDMETHODCALLTYPE Object::*put)(short, short);
  int16_t SLeadMeasurement::*field;
};

// Every exposed value but the lead code, which is put first.
constexpr SValuePut kValues[] = {
    {&Object::put_PDuration, &SLeadMeasurement::PDuration},
    {&Object::put_PRInterval, &SLeadMeasurement::PRInterval},
    {&Object::put_QRSDuration, &SLeadMeasurement::QRSDuration},
    {&Object::put_QTInterval, &SLeadMeasurement::QTInterval},
    {&Object::put_QDuration, &SLeadMeasurement::QDuration},
    {&Object::put_RDuration, &SLeadMeasurement::RDuration},
    {&Object::put_SDuration, &SLeadMeasurement::SDuration},
    {&Object::put_RdashDuration, &SLeadMeasurement::RdashDuration},
    {&Object::put_SdashDuration, &SLeadMeasurement::SdashDuration},
    {&Object::put_QAmplitude, &SLeadMeasurement::QAmplitude},
    {&Object::put_RAmplitude, &SLeadMeasurement::RAmplitude},
    {&Object::put_SAmplitude, &SLeadMeasurement::SAmplitude},
    {&Object::put_RdashAmplitude, &SLeadMeasurement::RdashAmplitude},
    {&Object::put_SdashAmplitude, &SLeadMeasurement::SdashAmplitude},
    {&Object::put_JPointAmplitude, &SLeadMeasurement::JPointAmplitude},
    {&Object::put_PplusAmplitude, &SLeadMeasurement::PplusAmplitude},
    {&Object::put_PminusAmplitude, &SLeadMeasurement::PminusAmplitude},
    {&Object::put_TplusAmplitude, &SLeadMeasurement::TplusAmplitude},
    {&Object::put_TminusAmplitude, &SLeadMeasurement::TminusAmplitude},
    {&Object::put_STSlope, &SLeadMeasurement::STSlope},
    {&Object::put_PMorphology, &SLeadMeasurement::PMorphology},
    {&Object::put_TMorphology, &SLeadMeasurement::TMorphology},
    {&Object::put_IsoElectricI, &SLeadMeasurement::IsoElectricI},
    {&Object::put_IsoElectricK, &SLeadMeasurement::IsoElectricK},
    {&Object::put_IntrinsicoidDeflection, &SLeadMeasurement::IntrinsicoidDeflection},
    {&Object::put_ECGRecordingConditions, &SLeadMeasurement::ECGRecordingConditions},
    {&Object::put_STAmplitudeJplus20, &SLeadMeasurement::STAmplitudeJplus20},
    {&Object::put_STAmplitudeJplus60, &SLeadMeasurement::STAmplitudeJplus60},
    {&Object::put_STAmplitudeJplus80, &SLeadMeasurement::STAmplitudeJplus80},
};
static_assert(sizeof(kValues) / sizeof(kValues[0]) == 29, "29 values besides the lead code");

HRESULT PutLeads(Object* object, const SLeadMeasurements& record) {
  HRESULT hr = object->Allocate(static_cast<short>(record.Count));
  for (unsigned i = 0; SUCCEEDED(hr) && i < record.Count; ++i) {
    if (!record.Records) return E_FAIL;  // a count without records
    const SLeadMeasurement& lead = record.Records[i];
    const short index = static_cast<short>(i + 1);
    hr = object->put_LeadId(index, static_cast<short>(lead.LeadId));
    for (const SValuePut& value : kValues) {
      if (FAILED(hr)) break;
      hr = (object->*value.put)(index, lead.*value.field);
    }
  }
  return hr;
}

}  // namespace

HRESULT FillLeadDataObject(IScpLeadData* object, const SLeadMeasurements* record) {
  if (!object || !record) return E_FAIL;
  const HRESULT hr = PutLeads(object, *record);
  if (FAILED(hr)) object->Allocate(0);
  return hr;
}

}  // namespace ktx_com
