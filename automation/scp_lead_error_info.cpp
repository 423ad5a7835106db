#include "automation/scp_lead_error_info.h"

#include "automation/table_size.h"

namespace ktx_com {

SLeadError* CScpLeadErrorInfo::Entry(short iIndex) {
  if (iIndex < 1 || iIndex > errors_.Count || !errors_.Errors) return nullptr;
  return &errors_.Errors[iIndex - 1];
}

HRESULT CScpLeadErrorInfo::get_LeadErrorCode(short iIndex, short* pVal) {
  const SLeadError* entry = Entry(iIndex);
  if (!entry) return E_FAIL;
  *pVal = static_cast<short>(entry->ErrorBits);
  return S_OK;
}
HRESULT CScpLeadErrorInfo::put_LeadErrorCode(short iIndex, short value) {
  SLeadError* entry = Entry(iIndex);
  if (!entry) return E_FAIL;
  entry->ErrorBits = static_cast<uint16_t>(value);
  return S_OK;
}
HRESULT CScpLeadErrorInfo::get_LeadId(short iIndex, short* pVal) {
  const SLeadError* entry = Entry(iIndex);
  if (!entry) return E_FAIL;
  *pVal = entry->LeadId;
  return S_OK;
}
HRESULT CScpLeadErrorInfo::put_LeadId(short iIndex, short value) {
  SLeadError* entry = Entry(iIndex);
  if (!entry) return E_FAIL;
  entry->LeadId = static_cast<uint8_t>(value & 0xFF);
  return S_OK;
}
HRESULT CScpLeadErrorInfo::get_Leads(short* pVal) {
  *pVal = errors_.Count;
  return S_OK;
}

HRESULT CScpLeadErrorInfo::Allocate(short iItems) {
  errors_.KillData();
  if (iItems == 0) return S_OK;
  if (TooManyLeads(iItems)) return E_FAIL;
  return errors_.Allocate(static_cast<uint8_t>(iItems)) ? S_OK : E_OUTOFMEMORY;
}

HRESULT CScpLeadErrorInfo::Grow(short iItems) {
  if (TooManyLeads(iItems)) return E_FAIL;
  return errors_.AddLeads(static_cast<uint8_t>(iItems)) ? S_OK : E_FAIL;
}

}  // namespace ktx_com
