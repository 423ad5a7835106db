// ScpLeadErrorInfo: the lead error table, one entry per lead with its error bits.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "record/lead_errors.h"

namespace ktx_com {

class CScpLeadErrorInfo : public CComObject<IScpLeadErrorInfo> {
 public:
  explicit CScpLeadErrorInfo(IUnknown* outer) : CComObject(outer) {}

  HRESULT STDMETHODCALLTYPE get_LeadErrorCode(short iIndex, short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_LeadErrorCode(short iIndex, short value) override;
  HRESULT STDMETHODCALLTYPE get_LeadId(short iIndex, short* pVal) override;
  HRESULT STDMETHODCALLTYPE put_LeadId(short iIndex, short value) override;
  HRESULT STDMETHODCALLTYPE get_Leads(short* pVal) override;
  HRESULT STDMETHODCALLTYPE Allocate(short iItems) override;
  HRESULT STDMETHODCALLTYPE Grow(short iItems) override;

 private:
  // Entry iIndex - 1, or null when the index is outside 1..Count.
  SLeadError* Entry(short iIndex);

  SLeadErrors errors_;
};

}  // namespace ktx_com
