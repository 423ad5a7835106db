#include "automation/scp_encoded_data.h"

#include <cstring>

#include "automation/com_boundary.h"
#include "automation/table_size.h"

namespace ktx_com {
namespace {

constexpr uint8_t kSimultaneousBit = 0x04;
constexpr int kLeadsSimultaneousShift = 3;

}  // namespace

SLeadDef* CScpEncodedData::Definition(short iIndex) {
  return EntryAt(leads_.Leads, leads_.Count, iIndex);
}

bool CScpEncodedData::IsSampleLead(short iIndex) const {
  return iIndex >= 1 && iIndex <= data_.LeadCount && data_.SampleCounts && data_.LeadSamples;
}

int16_t* CScpEncodedData::SampleRange(short iIndex, short first, short length) {
  if (!IsSampleLead(iIndex) || first < 1 || length < 1) return nullptr;
  const int lead = iIndex - 1;
  if (first + length - 1 > data_.SampleCounts[lead] || !data_.LeadSamples[lead]) return nullptr;
  return data_.LeadSamples[lead] + (first - 1);
}

KTX_GET_PROPERTY(CScpEncodedData, Leads, short, leads_.Count)

KTX_GET_PROPERTY(CScpEncodedData, Simultaneous, VARIANT_BOOL,
                 (leads_.Flags & kSimultaneousBit) ? 1 : 0)
HRESULT CScpEncodedData::put_Simultaneous(VARIANT_BOOL value) {
  return ComBoundary([&]() -> HRESULT {
    leads_.Flags = static_cast<uint8_t>(value ? (leads_.Flags | kSimultaneousBit)
                                              : (leads_.Flags & ~kSimultaneousBit));
    return S_OK;
  });
}

KTX_GET_PROPERTY(CScpEncodedData, LeadsSimultaneous, short,
                 static_cast<short>(leads_.Flags >> kLeadsSimultaneousShift))
HRESULT CScpEncodedData::put_LeadsSimultaneous(short value) {
  return ComBoundary([&]() -> HRESULT {
    leads_.Flags = static_cast<uint8_t>((leads_.Flags & 0x07) | ((value & 0x1F) << 3));
    return S_OK;
  });
}

KTX_INDEXED_PROPERTY(CScpEncodedData, LeadId, short, Definition, LeadId)
KTX_INDEXED_PROPERTY(CScpEncodedData, SamplesLeadStart, LONG, Definition, StartSample)
KTX_INDEXED_PROPERTY(CScpEncodedData, SamplesLeadEnd, LONG, Definition, EndSample)

KTX_GET_PROPERTY(CScpEncodedData, Encoding, short, data_.Encoding)
HRESULT CScpEncodedData::put_Encoding(short value) {
  return ComBoundary([&]() -> HRESULT {
    data_.Encoding = static_cast<uint8_t>(value & 0xFF);
    return S_OK;
  });
}
KTX_GET_PROPERTY(CScpEncodedData, SampleInterval, short, static_cast<short>(data_.SampleInterval))
HRESULT CScpEncodedData::put_SampleInterval(short value) {
  return ComBoundary([&]() -> HRESULT {
    data_.SampleInterval = static_cast<uint16_t>(value);
    return S_OK;
  });
}
KTX_GET_PROPERTY(CScpEncodedData, AVM, short, static_cast<short>(data_.AVM))
HRESULT CScpEncodedData::put_AVM(short value) {
  return ComBoundary([&]() -> HRESULT {
    data_.AVM = static_cast<uint16_t>(value);
    return S_OK;
  });
}

HRESULT CScpEncodedData::get_DataSample(short iIndex, short iSampleIndex, short* pVal) {
  return ComBoundary([&]() -> HRESULT {
    KTX_REQUIRE_RESULT(pVal);
    if (!Definition(iIndex)) return E_FAIL;
    const int16_t* sample = SampleRange(iIndex, iSampleIndex, 1);
    if (!sample) return E_FAIL;
    *pVal = *sample;
    return S_OK;
  });
}
HRESULT CScpEncodedData::put_DataSample(short iIndex, short iSampleIndex, short value) {
  return ComBoundary([&]() -> HRESULT {
    if (!Definition(iIndex)) return E_FAIL;
    int16_t* sample = SampleRange(iIndex, iSampleIndex, 1);
    if (!sample) return E_FAIL;
    *sample = value;
    return S_OK;
  });
}

HRESULT CScpEncodedData::SetDataSamples(short iIndex, short iSampleIndex, short iSampleLength,
                                        short* ipData) {
  return ComBoundary([&]() -> HRESULT {
    int16_t* samples = SampleRange(iIndex, iSampleIndex, iSampleLength);
    if (!samples || !ipData) return E_FAIL;
    std::memcpy(samples, ipData, sizeof(int16_t) * static_cast<size_t>(iSampleLength));
    return S_OK;
  });
}

HRESULT CScpEncodedData::GetDataSamples(short iIndex, short iSampleIndex, short iSampleLength,
                                        short* ipData) {
  return ComBoundary([&]() -> HRESULT {
    const int16_t* samples = SampleRange(iIndex, iSampleIndex, iSampleLength);
    if (!samples || !ipData) return E_FAIL;
    std::memcpy(ipData, samples, sizeof(int16_t) * static_cast<size_t>(iSampleLength));
    return S_OK;
  });
}

HRESULT CScpEncodedData::get_Samples(short iIndex, short* pVal) {
  return ComBoundary([&]() -> HRESULT {
    KTX_REQUIRE_RESULT(pVal);
    if (!Definition(iIndex) || !IsSampleLead(iIndex)) return E_FAIL;
    *pVal = static_cast<short>(data_.SampleCounts[iIndex - 1]);
    return S_OK;
  });
}

HRESULT CScpEncodedData::SetSamples(short iIndex, short iSamples) {
  return ComBoundary([&]() -> HRESULT {
    if (!IsSampleLead(iIndex)) return E_FAIL;
    const uint8_t lead = static_cast<uint8_t>(iIndex - 1);
    const uint16_t samples = static_cast<uint16_t>(iSamples);
    if (samples == data_.SampleCounts[lead]) return S_OK;  // keeps what was written
    data_.FreeLead(lead);
    if (samples == 0) return S_OK;
    return data_.AllocateLead(lead, samples) ? S_OK : E_OUTOFMEMORY;
  });
}

HRESULT CScpEncodedData::Allocate(short iLeads) {
  return ComBoundary([&]() -> HRESULT {
    // Flags and the scaling stay: they describe the section, not its leads.
    leads_.KillLeads();
    leads_.Count = 0;
    data_.KillLeads();
    if (iLeads == 0) return S_OK;
    if (TooManyLeads(iLeads)) return E_FAIL;
    const uint8_t count = static_cast<uint8_t>(iLeads);
    if (!leads_.Allocate(count)) return E_OUTOFMEMORY;
    if (!data_.Allocate(count)) {
      leads_.KillLeads();
      leads_.Count = 0;
      return E_OUTOFMEMORY;
    }
    return S_OK;
  });
}

}  // namespace ktx_com
