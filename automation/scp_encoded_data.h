// ScpEncodedData: a set of leads with their definitions, samples and scaling, as read
// from the rhythm or the reference beats of a record.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"
#include "record/encoded_data.h"
#include "record/lead_definitions.h"

namespace ktx_com {

class CScpEncodedData : public CComObject<IScpEncodedData> {
 public:
  explicit CScpEncodedData(IUnknown* outer) : CComObject(outer) {}

  // Late-bound callers of GetDataSamples and SetDataSamples hand over an array of
  // samples (see scp_encoded_data_arrays.cpp); everything else goes the type library's way.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg) override;

  HRESULT STDMETHODCALLTYPE get_Leads(short* pVal) override;
  KTX_DECLARE_PROPERTY(Simultaneous, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(LeadsSimultaneous, short)
  KTX_DECLARE_INDEXED_PROPERTY(LeadId, short)
  KTX_DECLARE_INDEXED_PROPERTY(SamplesLeadStart, LONG)
  KTX_DECLARE_INDEXED_PROPERTY(SamplesLeadEnd, LONG)
  KTX_DECLARE_PROPERTY(Encoding, short)
  KTX_DECLARE_PROPERTY(SampleInterval, short)
  KTX_DECLARE_PROPERTY(AVM, short)
  HRESULT STDMETHODCALLTYPE get_DataSample(short iIndex, short iSampleIndex, short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_DataSample(short iIndex, short iSampleIndex, short value) override;
  HRESULT STDMETHODCALLTYPE SetDataSamples(short iIndex, short iSampleIndex, short iSampleLength,
                                           short* ipData) override;
  HRESULT STDMETHODCALLTYPE get_Samples(short iIndex, short* pVal) override;
  HRESULT STDMETHODCALLTYPE SetSamples(short iIndex, short iSamples) override;
  HRESULT STDMETHODCALLTYPE GetDataSamples(short iIndex, short iSampleIndex, short iSampleLength,
                                           short* ipData) override;
  HRESULT STDMETHODCALLTYPE Allocate(short iLeads) override;

 private:
  // Definition iIndex - 1, or null outside 1..Leads.
  SLeadDef* Definition(short iIndex);
  // Whether iIndex names a lead that has a sample buffer slot.
  bool IsSampleLead(short iIndex) const;
  // The first of `length` samples from `first` on, or null unless all lie in the lead.
  int16_t* SampleRange(short iIndex, short first, short length);

  SLeadDefinitions leads_;
  SEncodedData data_;
};

}  // namespace ktx_com
