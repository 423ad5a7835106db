#include "automation/scp_lead_data.h"

#include "automation/com_boundary.h"
#include "automation/property_macros.h"
#include "automation/table_size.h"

namespace ktx_com {

SLeadMeasurement* CScpLeadData::Record(short iIndex) {
  return EntryAt(measurements_.Records, measurements_.Count, iIndex);
}

// Values go in and out as the 16 bits of the Section 10 record, unconverted.
#define KTX_LEAD_VALUE(Name) KTX_INDEXED_PROPERTY(CScpLeadData, Name, short, Record, Name)
KTX_LEAD_VALUE(LeadId)
KTX_LEAD_VALUE(PDuration)
KTX_LEAD_VALUE(PRInterval)
KTX_LEAD_VALUE(QRSDuration)
KTX_LEAD_VALUE(QTInterval)
KTX_LEAD_VALUE(QDuration)
KTX_LEAD_VALUE(RDuration)
KTX_LEAD_VALUE(SDuration)
KTX_LEAD_VALUE(RdashDuration)
KTX_LEAD_VALUE(SdashDuration)
KTX_LEAD_VALUE(QAmplitude)
KTX_LEAD_VALUE(RAmplitude)
KTX_LEAD_VALUE(SAmplitude)
KTX_LEAD_VALUE(RdashAmplitude)
KTX_LEAD_VALUE(SdashAmplitude)
KTX_LEAD_VALUE(JPointAmplitude)
KTX_LEAD_VALUE(PplusAmplitude)
KTX_LEAD_VALUE(PminusAmplitude)
KTX_LEAD_VALUE(TplusAmplitude)
KTX_LEAD_VALUE(TminusAmplitude)
KTX_LEAD_VALUE(STSlope)
KTX_LEAD_VALUE(PMorphology)
KTX_LEAD_VALUE(TMorphology)
KTX_LEAD_VALUE(IsoElectricI)
KTX_LEAD_VALUE(IsoElectricK)
KTX_LEAD_VALUE(IntrinsicoidDeflection)
KTX_LEAD_VALUE(ECGRecordingConditions)
KTX_LEAD_VALUE(STAmplitudeJplus20)
KTX_LEAD_VALUE(STAmplitudeJplus60)
KTX_LEAD_VALUE(STAmplitudeJplus80)
#undef KTX_LEAD_VALUE

KTX_GET_PROPERTY(CScpLeadData, Leads, short, static_cast<short>(measurements_.Count))

HRESULT CScpLeadData::Allocate(short iLeads) {
  return ComBoundary([&]() -> HRESULT {
    return AllocateEntries(
        iLeads, [this] { measurements_.KillLeads(); },
        [this](uint8_t count) { return measurements_.Allocate(count); });
  });
}

HRESULT CScpLeadData::Grow(short iLeads) {
  return ComBoundary([&]() -> HRESULT {
    return GrowEntries(iLeads, [this](uint8_t count) { return measurements_.AddLeads(count); });
  });
}

}  // namespace ktx_com
