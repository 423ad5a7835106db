// Sections 3, 5 and 6 from the held lead definitions and sample tables. Samples are
// written as held, two bytes each, little-endian: the writer never compresses.
#include <cstring>

#include "platform/errors.h"
#include "platform/little_endian.h"
#include "writer/writer.h"

namespace {

// Samples one lead of Section 5 or 6 can hold: its byte count is a 16-bit field.
constexpr uint16_t kMaxSectionSamples = 32767;

bool HasSamples(const SEncodedData& data) {
  return data.SampleCounts != nullptr && data.LeadSamples != nullptr;
}

}  // namespace

bool CWriter::CreateSec3_6() {
  if (Store.Used >= SScpRecord::kMaxEntries) return plat::FailWith(plat::kErrOutOfStructures);
  if (!HasRhythm || !(Loaded & kSection6) || !(Loaded & kSection3) ||
      LeadDefinitions.Leads == nullptr || !HasSamples(Rhythm)) {
    return plat::FailWith(plat::kErrNoData);
  }
  if (!CreateSampleSection(6, Rhythm)) return false;

  uint16_t entry = 0;
  if (!NextEntry(&entry)) return false;  // Section 6 stays stored
  uint32_t length =
      kSectionHeaderSize + 2 + static_cast<uint32_t>(sizeof(SLeadDef)) * LeadDefinitions.Count;
  length += length & 1;
  uint8_t* section = nullptr;
  if (!PlaceSection(entry, 3, length, &section)) return false;
  section[kSectionHeaderSize] = LeadDefinitions.Count;
  section[kSectionHeaderSize + 1] = LeadDefinitions.Flags;
  std::memcpy(section + kSectionHeaderSize + 2, LeadDefinitions.Leads,
              sizeof(SLeadDef) * LeadDefinitions.Count);
  return FinishEntry(entry);
}

bool CWriter::CreateSec5() {
  if (Store.Used >= SScpRecord::kMaxEntries) return plat::FailWith(plat::kErrOutOfStructures);
  if (!HasMedian || !(Loaded & kSection5) || !HasSamples(Median))
    return plat::FailWith(plat::kErrNoData);
  return CreateSampleSection(5, Median);
}

bool CWriter::CreateSampleSection(uint16_t id, const SEncodedData& data) {
  uint16_t entry = 0;
  if (!NextEntry(&entry)) return false;
  uint64_t length = kSectionHeaderSize + 6;
  for (unsigned lead = 0; lead < data.LeadCount; ++lead) {
    // A lead's byte count is 16 bits: a longer lead (a Bio event may hold up to 65535
    // samples) would be written with a wrapped count, a broken record.
    if (data.SampleCounts[lead] > kMaxSectionSamples) return plat::FailWith(plat::kErrInvalidData);
    length += 2 + 2u * data.SampleCounts[lead];
  }
  length += length & 1;
  uint8_t* section = nullptr;
  if (!PlaceSection(entry, id, static_cast<uint32_t>(length), &section)) return false;
  uint8_t* out = section + kSectionHeaderSize;
  plat::PutLE16(out, data.AVM);
  plat::PutLE16(out + 2, data.SampleInterval);
  out[4] = data.Encoding;
  out[5] = data.Bimodal;
  out += 6;
  for (unsigned lead = 0; lead < data.LeadCount; ++lead, out += 2) {
    // Checked above: twice the count fits the 16-bit field.
    plat::PutLE16(out, static_cast<uint16_t>(2u * data.SampleCounts[lead]));
  }
  for (unsigned lead = 0; lead < data.LeadCount; ++lead) {
    const int16_t* samples = data.LeadSamples[lead];
    for (unsigned i = 0; samples != nullptr && i < data.SampleCounts[lead]; ++i, out += 2) {
      plat::PutLE16(out, static_cast<uint16_t>(samples[i]));
    }
  }
  return FinishEntry(entry);
}

bool CWriter::FinishEntry(uint16_t entry) {
  if (!StoreSectionHeader(entry)) {
    plat::KeepLastError keep;
    Store.ClearEntry(entry);
    return false;
  }
  ++Store.Used;
  return true;
}
