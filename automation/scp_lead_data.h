// ScpLeadData: the per-lead measurements of Section 10, one record per lead.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"
#include "record/lead_measurements.h"

namespace ktx_com {

#define KTX_DECLARE_LEAD_VALUE(Name) KTX_DECLARE_INDEXED_PROPERTY(Name, short)

class CScpLeadData : public CComObject<IScpLeadData> {
 public:
  explicit CScpLeadData(IUnknown* outer) : CComObject(outer) {}

  KTX_DECLARE_LEAD_VALUE(ECGRecordingConditions)
  KTX_DECLARE_LEAD_VALUE(IntrinsicoidDeflection)
  KTX_DECLARE_LEAD_VALUE(IsoElectricI)
  KTX_DECLARE_LEAD_VALUE(IsoElectricK)
  KTX_DECLARE_LEAD_VALUE(JPointAmplitude)
  KTX_DECLARE_LEAD_VALUE(PDuration)
  KTX_DECLARE_LEAD_VALUE(PminusAmplitude)
  KTX_DECLARE_LEAD_VALUE(PMorphology)
  KTX_DECLARE_LEAD_VALUE(PRInterval)
  KTX_DECLARE_LEAD_VALUE(PplusAmplitude)
  KTX_DECLARE_LEAD_VALUE(QAmplitude)
  KTX_DECLARE_LEAD_VALUE(QDuration)
  KTX_DECLARE_LEAD_VALUE(QRSDuration)
  KTX_DECLARE_LEAD_VALUE(QTInterval)
  KTX_DECLARE_LEAD_VALUE(RAmplitude)
  KTX_DECLARE_LEAD_VALUE(RdashAmplitude)
  KTX_DECLARE_LEAD_VALUE(RdashDuration)
  KTX_DECLARE_LEAD_VALUE(SAmplitude)
  KTX_DECLARE_LEAD_VALUE(SDuration)
  KTX_DECLARE_LEAD_VALUE(SdashAmplitude)
  KTX_DECLARE_LEAD_VALUE(SdashDuration)
  KTX_DECLARE_LEAD_VALUE(STAmplitudeJplus20)
  KTX_DECLARE_LEAD_VALUE(STAmplitudeJplus60)
  KTX_DECLARE_LEAD_VALUE(STAmplitudeJplus80)
  KTX_DECLARE_LEAD_VALUE(STSlope)
  KTX_DECLARE_LEAD_VALUE(TminusAmplitude)
  KTX_DECLARE_LEAD_VALUE(TMorphology)
  KTX_DECLARE_LEAD_VALUE(TplusAmplitude)
  KTX_DECLARE_LEAD_VALUE(RDuration)
  KTX_DECLARE_LEAD_VALUE(LeadId)
  HRESULT STDMETHODCALLTYPE get_Leads(short* pVal) override;
  HRESULT STDMETHODCALLTYPE Allocate(short iLeads) override;
  HRESULT STDMETHODCALLTYPE Grow(short iLeads) override;

 private:
  // Record iIndex - 1, or null when the index is outside 1..Count.
  SLeadMeasurement* Record(short iIndex);

  SLeadMeasurements measurements_;
};

#undef KTX_DECLARE_LEAD_VALUE

}  // namespace ktx_com
