#include "automation/scp_analysis_info.h"

namespace ktx_com {
namespace {

// Codes are addressed from 1 up to the current count.
bool InCodes(short index, uint16_t count) {
  return index >= 1 && index <= count;
}

}  // namespace

#define KTX_MEASUREMENT(Name, Type)                                                            \
  KTX_GET_PROPERTY(CScpAnalysisInfo, Name, short, static_cast<short>(info_.Measurements.Name)) \
  HRESULT CScpAnalysisInfo::put_##Name(short value) {                                          \
    info_.Measurements.Name = static_cast<Type>(value);                                        \
    return S_OK;                                                                               \
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

// A list of statement codes: its count, from 0 up to the room the record keeps for it
// (more: E_FAIL, nothing changed), and its codes, addressed from 1 up to that count.
#define KTX_CODE_LIST(Kind)                                                                     \
  KTX_GET_PROPERTY(CScpAnalysisInfo, Kind##Codes, short, static_cast<short>(info_.Kind##Codes)) \
  HRESULT CScpAnalysisInfo::put_##Kind##Codes(short value) {                                    \
    if (value < 0 || value > CAnalysisInfo::kMax##Kind##Codes) return E_FAIL;                   \
    info_.Kind##Codes = static_cast<uint16_t>(value);                                           \
    return S_OK;                                                                                \
  }                                                                                             \
  HRESULT CScpAnalysisInfo::get_##Kind##Code(short iIndex, short* pVal) {                       \
    KTX_REQUIRE_RESULT(pVal);                                                                   \
    if (!InCodes(iIndex, info_.Kind##Codes)) return E_FAIL;                                     \
    *pVal = static_cast<short>(info_.Kind##Code[iIndex - 1]);                                   \
    return S_OK;                                                                                \
  }                                                                                             \
  HRESULT CScpAnalysisInfo::put_##Kind##Code(short iIndex, short value) {                       \
    if (!InCodes(iIndex, info_.Kind##Codes)) return E_FAIL;                                     \
    info_.Kind##Code[iIndex - 1] = static_cast<uint16_t>(value);                                \
    return S_OK;                                                                                \
  }
KTX_CODE_LIST(Morphology)
KTX_CODE_LIST(Rhythm)
#undef KTX_CODE_LIST

}  // namespace ktx_com
