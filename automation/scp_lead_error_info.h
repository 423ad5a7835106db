// ScpLeadErrorInfo: the lead error table, one entry per lead with its error bits.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"
#include "record/lead_errors.h"

namespace ktx_com {

class CScpLeadErrorInfo : public CComObject<IScpLeadErrorInfo> {
 public:
  explicit CScpLeadErrorInfo(IUnknown* outer) : CComObject(outer) {}

  KTX_DECLARE_INDEXED_PROPERTY(LeadErrorCode, short)
  KTX_DECLARE_INDEXED_PROPERTY(LeadId, short)
  HRESULT STDMETHODCALLTYPE get_Leads(short* pVal) override;
  HRESULT STDMETHODCALLTYPE Allocate(short iItems) override;
  HRESULT STDMETHODCALLTYPE Grow(short iItems) override;

 private:
  // Entry iIndex - 1, or null when the index is outside 1..Count.
  SLeadError* Entry(short iIndex);

  SLeadErrors errors_;
};

}  // namespace ktx_com
