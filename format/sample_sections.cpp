// Sections 5 and 6: reference beats and rhythm, stored as plain 16-bit samples.
#include <cstdint>

#include "format/sample_sections.h"
#include "format/section_body.h"
#include "platform/errors.h"
#include "platform/little_endian.h"

namespace {

constexpr uint32_t kMaxLeadSamples = UINT16_MAX;  // SEncodedData counts samples in 16 bits
// Samples one lead of a written section can hold: its byte count is a 16-bit field.
constexpr uint16_t kMaxSectionSamples = 32767;

// Samples a definition spans. Computed in 64 bits so that a range covering the whole
// 32-bit sample space cannot wrap to a small count; a last sample before the first
// one spans nothing.
uint64_t DefinedSamples(const SLeadDef& lead) {
  if (lead.EndSample < lead.StartSample) return 0;
  return uint64_t{lead.EndSample} - lead.StartSample + 1;
}

bool Refuse(SEncodedData* data, uint32_t code) {
  data->KillData();
  return plat::FailWith(code);
}

// Gives every lead that stores data its buffer: a single lead as many samples as its
// definition spans, whatever byte length it stores; several leads byte length / 2.
bool AllocateLeads(const SLeadDefinitions& leads, SEncodedData* data) {
  const uint16_t* byteLengths = data->SampleCounts;
  for (uint8_t i = 0; i < data->LeadCount; ++i) {
    if (byteLengths[i] == 0) continue;
    uint64_t samples = byteLengths[i] / 2u;
    if (leads.Count == 1) {
      samples = DefinedSamples(leads.Leads[0]);
      // A single lead longer than 65535 samples cannot be held in memory, and reading
      // only part of it would hand out a recording that silently stops early: the
      // record is refused as invalid data instead.
      if (samples > kMaxLeadSamples) return Refuse(data, plat::kErrInvalidData);
    }
    // A stored length of 1 byte, or an empty definition, promises data without a
    // single sample in it.
    if (samples == 0) return Refuse(data, plat::kErrInvalidData);
    if (!data->AllocateLead(i, static_cast<uint16_t>(samples))) {
      return Refuse(data, plat::LastError());
    }
  }
  return true;
}

}  // namespace

bool ParseSampleData(plat::FileHandle file, const uint8_t* sectionHeader,
                     const SLeadDefinitions* leads, SEncodedData* data, bool rhythm) {
  if (file == plat::kClosedFile || sectionHeader == nullptr || leads == nullptr ||
      data == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (leads->Leads == nullptr || leads->Count == 0) {
    return plat::FailWith(plat::kErrNoData);
  }
  SectionBody body(file, sectionHeader);
  // AVM, sample interval, difference-data and bimodal bytes, as laid out in the file;
  // then the byte-length table, which lands in SampleCounts and is replaced lead by
  // lead. A failure leaves the table empty rather than holding a stray header.
  if (!body.Read(&data->AVM, SEncodedData::kHeaderSize) || !data->Allocate(leads->Count) ||
      !body.Read(data->SampleCounts, static_cast<uint32_t>(sizeof(uint16_t)) * data->LeadCount)) {
    return Refuse(data, plat::LastError());
  }
  if (!AllocateLeads(*leads, data)) return false;

  // Every lead of a multi-lead rhythm spans exactly what its definition says.
  if (rhythm && data->LeadCount > 1) {
    for (uint8_t i = 0; i < data->LeadCount; ++i) {
      if (data->SampleCounts[i] != DefinedSamples(leads->Leads[i])) {
        return Refuse(data, plat::kErrInvalidData);
      }
    }
  }
  for (uint8_t i = 0; i < data->LeadCount; ++i) {
    const uint32_t bytes = static_cast<uint32_t>(sizeof(int16_t)) * data->SampleCounts[i];
    if (bytes != 0 && !body.Read(data->LeadSamples[i], bytes)) {
      return Refuse(data, plat::LastError());
    }
  }
  return true;
}

bool SampleSectionBodySize(const SEncodedData& data, uint32_t* size) {
  uint32_t bytes = SEncodedData::kHeaderSize;
  for (unsigned lead = 0; lead < data.LeadCount; ++lead) {
    // A longer lead (a Bio event may hold up to 65535 samples) would be written with a
    // wrapped count, a broken record.
    if (data.SampleCounts[lead] > kMaxSectionSamples) return plat::FailWith(plat::kErrInvalidData);
    bytes += 2 + 2u * data.SampleCounts[lead];
  }
  *size = bytes;
  return true;
}

void BuildSampleSection(const SEncodedData& data, uint8_t* body) {
  plat::PutLE16(body, data.AVM);
  plat::PutLE16(body + 2, data.SampleInterval);
  body[4] = data.Encoding;
  body[5] = data.Bimodal;
  uint8_t* out = body + SEncodedData::kHeaderSize;
  for (unsigned lead = 0; lead < data.LeadCount; ++lead, out += 2) {
    // Sized by SampleSectionBodySize: twice the count fits the 16-bit field.
    plat::PutLE16(out, static_cast<uint16_t>(2u * data.SampleCounts[lead]));
  }
  for (unsigned lead = 0; lead < data.LeadCount; ++lead) {
    const int16_t* samples = data.LeadSamples[lead];
    for (unsigned i = 0; samples != nullptr && i < data.SampleCounts[lead]; ++i, out += 2) {
      plat::PutLE16(out, static_cast<uint16_t>(samples[i]));
    }
  }
}
