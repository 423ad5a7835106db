#include "automation/scp_lead_data.h"

#include "automation/table_size.h"

namespace ktx_com {

SLeadMeasurement* CScpLeadData::Record(short iIndex) {
  if (iIndex < 1 || iIndex > measurements_.Count || !measurements_.Records) return nullptr;
  return &measurements_.Records[iIndex - 1];
}

// Values go in and out as the 16 bits of the Section 10 record, unconverted.
#define KTX_LEAD_VALUE(Name, Field)                              \
  HRESULT CScpLeadData::get_##Name(short iIndex, short* pVal) {  \
    const SLeadMeasurement* record = Record(iIndex);             \
    if (!record) return E_FAIL;                                  \
    *pVal = static_cast<short>(record->Field);                   \
    return S_OK;                                                 \
  }                                                              \
  HRESULT CScpLeadData::put_##Name(short iIndex, short value) {  \
    SLeadMeasurement* record = Record(iIndex);                   \
    if (!record) return E_FAIL;                                  \
    record->Field = static_cast<decltype(record->Field)>(value); \
    return S_OK;                                                 \
  }
KTX_LEAD_VALUE(LeadId, LeadId)
KTX_LEAD_VALUE(PDuration, PDuration)
KTX_LEAD_VALUE(PRInterval, PRInterval)
KTX_LEAD_VALUE(QRSDuration, QRSDuration)
KTX_LEAD_VALUE(QTInterval, QTInterval)
KTX_LEAD_VALUE(QDuration, QDuration)
KTX_LEAD_VALUE(RDuration, RDuration)
KTX_LEAD_VALUE(SDuration, SDuration)
KTX_LEAD_VALUE(RdashDuration, RdashDuration)
KTX_LEAD_VALUE(SdashDuration, SdashDuration)
KTX_LEAD_VALUE(QAmplitude, QAmplitude)
KTX_LEAD_VALUE(RAmplitude, RAmplitude)
KTX_LEAD_VALUE(SAmplitude, SAmplitude)
KTX_LEAD_VALUE(RdashAmplitude, RdashAmplitude)
KTX_LEAD_VALUE(SdashAmplitude, SdashAmplitude)
KTX_LEAD_VALUE(JPointAmplitude, JPointAmplitude)
KTX_LEAD_VALUE(PplusAmplitude, PplusAmplitude)
KTX_LEAD_VALUE(PminusAmplitude, PminusAmplitude)
KTX_LEAD_VALUE(TplusAmplitude, TplusAmplitude)
KTX_LEAD_VALUE(TminusAmplitude, TminusAmplitude)
KTX_LEAD_VALUE(STSlope, STSlope)
KTX_LEAD_VALUE(PMorphology, PMorphology)
KTX_LEAD_VALUE(TMorphology, TMorphology)
KTX_LEAD_VALUE(IsoElectricI, IsoElectricI)
KTX_LEAD_VALUE(IsoElectricK, IsoElectricK)
KTX_LEAD_VALUE(IntrinsicoidDeflection, IntrinsicoidDeflection)
KTX_LEAD_VALUE(ECGRecordingConditions, ECGRecordingConditions)
KTX_LEAD_VALUE(STAmplitudeJplus20, STAmplitudeJplus20)
KTX_LEAD_VALUE(STAmplitudeJplus60, STAmplitudeJplus60)
KTX_LEAD_VALUE(STAmplitudeJplus80, STAmplitudeJplus80)
#undef KTX_LEAD_VALUE

HRESULT CScpLeadData::get_Leads(short* pVal) {
  *pVal = static_cast<short>(measurements_.Count);
  return S_OK;
}

HRESULT CScpLeadData::Allocate(short iLeads) {
  measurements_.KillLeads();
  if (iLeads == 0) return S_OK;
  if (TooManyLeads(iLeads)) return E_FAIL;
  return measurements_.Allocate(static_cast<uint16_t>(iLeads)) ? S_OK : E_OUTOFMEMORY;
}

HRESULT CScpLeadData::Grow(short iLeads) {
  if (TooManyLeads(iLeads)) return E_FAIL;
  return measurements_.AddLeads(static_cast<uint16_t>(iLeads)) ? S_OK : E_FAIL;
}

}  // namespace ktx_com
