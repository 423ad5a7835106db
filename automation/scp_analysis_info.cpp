#include "automation/scp_analysis_info.h"

namespace ktx_com {
namespace {

// Codes are addressed from 1 up to the current count.
bool InCodes(short index, uint16_t count) {
  return index >= 1 && index <= count;
}

}  // namespace

#define KTX_MEASUREMENT(Name, Type)                      \
  HRESULT CScpAnalysisInfo::get_##Name(short* pVal) {    \
    *pVal = static_cast<short>(info_.Measurements.Name); \
    return S_OK;                                         \
  }                                                      \
  HRESULT CScpAnalysisInfo::put_##Name(short value) {    \
    info_.Measurements.Name = static_cast<Type>(value);  \
    return S_OK;                                         \
  }
// The two counts are single bytes in the file: only their low 8 bits are kept.
KTX_MEASUREMENT(QRSTypes, uint8_t)
KTX_MEASUREMENT(PossiblePacemakerSpikes, uint8_t)
KTX_MEASUREMENT(AvRRms, uint16_t)
KTX_MEASUREMENT(AvPPms, uint16_t)
KTX_MEASUREMENT(POnsetms, uint16_t)
KTX_MEASUREMENT(POffsetms, uint16_t)
KTX_MEASUREMENT(QRSOnsetms, uint16_t)
KTX_MEASUREMENT(QRSOffsetms, uint16_t)
KTX_MEASUREMENT(TOffsetms, uint16_t)
KTX_MEASUREMENT(PAxis, int16_t)
KTX_MEASUREMENT(QRSAxis, int16_t)
KTX_MEASUREMENT(TAxis, int16_t)
#undef KTX_MEASUREMENT

HRESULT CScpAnalysisInfo::get_MorphologyCodes(short* pVal) {
  *pVal = static_cast<short>(info_.MorphologyCodes);
  return S_OK;
}
HRESULT CScpAnalysisInfo::put_MorphologyCodes(short value) {
  if (value < 0 || value > CAnalysisInfo::kMaxMorphologyCodes) return E_FAIL;
  info_.MorphologyCodes = static_cast<uint16_t>(value);
  return S_OK;
}
HRESULT CScpAnalysisInfo::get_RhythmCodes(short* pVal) {
  *pVal = static_cast<short>(info_.RhythmCodes);
  return S_OK;
}
HRESULT CScpAnalysisInfo::put_RhythmCodes(short value) {
  if (value < 0 || value > CAnalysisInfo::kMaxRhythmCodes) return E_FAIL;
  info_.RhythmCodes = static_cast<uint16_t>(value);
  return S_OK;
}

HRESULT CScpAnalysisInfo::get_MorphologyCode(short iIndex, short* pVal) {
  if (!InCodes(iIndex, info_.MorphologyCodes)) return E_FAIL;
  *pVal = static_cast<short>(info_.MorphologyCode[iIndex - 1]);
  return S_OK;
}
HRESULT CScpAnalysisInfo::put_MorphologyCode(short iIndex, short value) {
  if (!InCodes(iIndex, info_.MorphologyCodes)) return E_FAIL;
  info_.MorphologyCode[iIndex - 1] = static_cast<uint16_t>(value);
  return S_OK;
}
HRESULT CScpAnalysisInfo::get_RhythmCode(short iIndex, short* pVal) {
  if (!InCodes(iIndex, info_.RhythmCodes)) return E_FAIL;
  *pVal = static_cast<short>(info_.RhythmCode[iIndex - 1]);
  return S_OK;
}
HRESULT CScpAnalysisInfo::put_RhythmCode(short iIndex, short value) {
  if (!InCodes(iIndex, info_.RhythmCodes)) return E_FAIL;
  info_.RhythmCode[iIndex - 1] = static_cast<uint16_t>(value);
  return S_OK;
}

}  // namespace ktx_com
