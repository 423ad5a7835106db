#include "acquisition/bio_data_blocks.h"

#include "acquisition/bio_fields.h"
#include "acquisition/sample_codecs.h"
#include "platform/errors.h"

namespace ktx::acq {

namespace {

constexpr uint8_t kEightLeads[] = {0, 1, 6, 7, 8, 9, 10, 11};  // I, II, V1-V6

unsigned LeadsFilled(uint8_t type) {
  return type == 22 ? 2 : type == 23 ? 8 : 1;
}

// Reads `count` records of `size` bytes in chunks and hands each to `decode`.
template <typename Decode>
bool ReadRecords(BioInput& input, uint32_t size, uint32_t count, Decode decode) {
  constexpr uint32_t kChunkBytes = 4096;
  uint8_t chunk[kChunkBytes];
  const uint32_t perChunk = kChunkBytes / size;
  for (uint32_t first = 0; first < count; first += perChunk) {
    const uint32_t records = count - first < perChunk ? count - first : perChunk;
    if (!input.Read(chunk, records * size)) return false;
    for (uint32_t i = 0; i < records; ++i) decode(chunk + i * size, first + i);
  }
  return true;
}

// The slot's lead identity; types 7 and 11 carry a lead number byte first.
bool SetIdentities(BioInput& input, SEvent& event, uint8_t type, unsigned slot) {
  const uint8_t single = event.Info.SingleLead;
  uint8_t number = 0;
  switch (type) {
    case 6:
    case 10:
      event.Leads[slot].LeadIndex = single == 0 ? kUnspecifiedLead : single;
      break;
    case 7:
    case 11:
      if (!input.Read(&number, 1)) return false;
      event.Leads[slot].LeadIndex = LeadIndexFromNumber(number);
      break;
    case 21:
      event.Leads[slot].LeadIndex = single;
      break;
    case 22:
      event.Leads[slot].LeadIndex = 0;
      event.Leads[slot + 1].LeadIndex = 1;
      break;
    default:
      for (unsigned i = 0; i < 8; ++i) event.Leads[slot + i].LeadIndex = kEightLeads[i];
      break;
  }
  for (unsigned i = 0; i < LeadsFilled(type); ++i) event.Leads[slot + i].LeadId = kLeadNotSet;
  return true;
}

bool ReadSamples(BioInput& input, SEvent& event, uint8_t type, unsigned slot) {
  const uint32_t count = event.Info.SampleCount;
  SLeadData* leads = event.Leads + slot;
  int16_t* samples = leads[0].Samples;
  switch (type) {
    case 6:
    case 7:
      return ReadRecords(input, 1, count, [samples](const uint8_t* r, uint32_t i) {
        samples[i] = static_cast<int16_t>(r[0] - 128);
      });
    case 10:
    case 11:
      // An odd count leaves the last sample 0.
      return ReadRecords(input, 3, count / 2, [samples](const uint8_t* r, uint32_t i) {
        DecodePair(r, &samples[2 * i], &samples[2 * i + 1]);
      });
    case 21:
      // Every record is a sample: these blocks carry no synchronisation bits.
      return ReadRecords(input, 2, count, [samples](const uint8_t* r, uint32_t i) {
        samples[i] = DecodeOneLead(r[0], r[1]);
      });
    default: {
      const unsigned pairs = type == 22 ? 1 : 4;
      // The record's last byte is not checked.
      return ReadRecords(input, 3 * pairs + 1, count, [leads, pairs](const uint8_t* r, uint32_t i) {
        for (unsigned p = 0; p < pairs; ++p) {
          DecodePair(r + 3 * p, &leads[2 * p].Samples[i], &leads[2 * p + 1].Samples[i]);
        }
      });
    }
  }
}

}  // namespace

bool IsBioDataBlock(uint8_t type) {
  switch (type) {
    case 6:
    case 7:
    case 10:
    case 11:
    case 21:
    case 22:
    case 23:
      return true;
    default:
      return false;
  }
}

bool ReadBioDataBlock(BioInput& input, SEvent& event, uint8_t type) {
  if (event.Leads == nullptr && !event.InitLeads(event.Info.LeadCount)) return false;
  const unsigned slot = event.FilledLeads;
  const unsigned filled = LeadsFilled(type);
  if (slot + filled > event.LeadCount) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  if (!SetIdentities(input, event, type, slot) || !ReadSamples(input, event, type, slot)) {
    return false;
  }
  event.FilledLeads = static_cast<uint8_t>(slot + filled);
  return true;
}

}  // namespace ktx::acq
