#include "automation/scp_lead_error_info.h"

#include "automation/com_boundary.h"
#include "automation/property_macros.h"
#include "automation/table_size.h"

namespace ktx_com {

SLeadError* CScpLeadErrorInfo::Entry(short iIndex) {
  return EntryAt(errors_.Errors, errors_.Count, iIndex);
}

KTX_INDEXED_PROPERTY(CScpLeadErrorInfo, LeadErrorCode, short, Entry, ErrorBits)
KTX_INDEXED_PROPERTY(CScpLeadErrorInfo, LeadId, short, Entry, LeadId)

KTX_GET_PROPERTY(CScpLeadErrorInfo, Leads, short, errors_.Count)

HRESULT CScpLeadErrorInfo::Allocate(short iItems) {
  return ComBoundary([&]() -> HRESULT {
    return AllocateEntries(
        iItems, [this] { errors_.KillData(); },
        [this](uint8_t count) { return errors_.Allocate(count); });
  });
}

HRESULT CScpLeadErrorInfo::Grow(short iItems) {
  return ComBoundary([&]() -> HRESULT {
    return GrowEntries(iItems, [this](uint8_t count) { return errors_.AddLeads(count); });
  });
}

}  // namespace ktx_com
