// Global measurements and statement codes from CAnalysisInfo into an IScpAnalysisInfo.
#include "automation/object_transfer.h"

namespace ktx_com {

HRESULT FillAnalysisObject(IScpAnalysisInfo* object, const CAnalysisInfo* record) {
  if (!object || !record) return E_FAIL;
  const CAnalysisInfo& r = *record;
  const SGlobalMeasurements& m = r.Measurements;
  using Object = IScpAnalysisInfo;
  // The counts go before the codes so that the indexed puts are in range.
  const struct {
    HRESULT (STDMETHODCALLTYPE Object::*put)(short);
    int value;
  } numbers[] = {
      {&Object::put_AvPPms, m.AvPPms},
      {&Object::put_AvRRms, m.AvRRms},
      {&Object::put_PossiblePacemakerSpikes, m.PossiblePacemakerSpikes},
      {&Object::put_QRSTypes, m.QRSTypes},
      {&Object::put_MorphologyCodes, r.MorphologyCodes},
      {&Object::put_RhythmCodes, r.RhythmCodes},
      {&Object::put_PAxis, m.PAxis},
      {&Object::put_POffsetms, m.POffsetms},
      {&Object::put_POnsetms, m.POnsetms},
      {&Object::put_QRSAxis, m.QRSAxis},
      {&Object::put_QRSOffsetms, m.QRSOffsetms},
      {&Object::put_QRSOnsetms, m.QRSOnsetms},
      {&Object::put_TAxis, m.TAxis},
      {&Object::put_TOffsetms, m.TOffsetms},
  };
  HRESULT hr = S_OK;
  for (const auto& number : numbers) {
    if (FAILED(hr = (object->*number.put)(static_cast<short>(number.value)))) return hr;
  }
  // The record never holds more codes than its arrays; a count beyond them has been
  // refused by the put above.
  for (unsigned i = 0; i < r.MorphologyCodes && i < CAnalysisInfo::kMaxMorphologyCodes; ++i) {
    const short index = static_cast<short>(i + 1);
    if (FAILED(hr = object->put_MorphologyCode(index, static_cast<short>(r.MorphologyCode[i]))))
      return hr;
  }
  for (unsigned i = 0; i < r.RhythmCodes && i < CAnalysisInfo::kMaxRhythmCodes; ++i) {
    const short index = static_cast<short>(i + 1);
    if (FAILED(hr = object->put_RhythmCode(index, static_cast<short>(r.RhythmCode[i])))) return hr;
  }
  return S_OK;
}

}  // namespace ktx_com
