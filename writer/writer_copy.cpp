// Copies of a writer. Everything the source owns is duplicated (the section store's
// sections, the tables and the records with their strings, the writer identity), so
// the copy and its source free only their own. A copy never holds an open file.
//
// A constructor cannot answer false: when memory runs out, the copy's writer part is
// left as freshly constructed and the last error is 14; an assignment that runs out
// leaves its target so as well. A copy that succeeds leaves the last error 0.
#include <cstdlib>
#include <cstring>

#include "platform/errors.h"
#include "record/string_field.h"
#include "writer/writer.h"

namespace {

// Every copy below empties its target first and leaves it empty when memory runs out.

bool CopyIndex(SSectionIndexes& target, const SSectionIndexes& source) {
  target.KillData();
  if (source.Extra != 0 && source.Further != nullptr) {
    if (!target.Allocate(source.Extra)) return false;
    std::memcpy(target.Further, source.Further, sizeof(SSectionIndex) * source.Extra);
  }
  std::memcpy(target.Fixed, source.Fixed, sizeof(target.Fixed));
  target.Count = source.Count;
  return true;
}

bool CopyUnknownTags(SUnknownTags& target, const SUnknownTags& source) {
  target.KillData();
  for (unsigned tag = 0; tag < SUnknownTags::kSlots; ++tag) {
    if (source.Data[tag] == nullptr || source.Length[tag] == 0) continue;
    if (!target.Allocate(static_cast<uint8_t>(tag), source.Length[tag])) {
      plat::KeepLastError keep;
      target.KillData();
      return false;
    }
    std::memcpy(target.Data[tag], source.Data[tag], source.Length[tag]);
  }
  return true;
}

bool CopySamples(SEncodedData& target, const SEncodedData& source) {
  target.KillData();
  target.AVM = source.AVM;
  target.SampleInterval = source.SampleInterval;
  target.Encoding = source.Encoding;
  target.Bimodal = source.Bimodal;
  if (source.LeadCount == 0 || source.SampleCounts == nullptr || source.LeadSamples == nullptr) {
    return true;
  }
  bool copied = target.Allocate(source.LeadCount);
  for (uint8_t lead = 0; copied && lead < source.LeadCount; ++lead) {
    const uint16_t count = source.SampleCounts[lead];
    if (source.LeadSamples[lead] == nullptr || count == 0) continue;
    copied = target.AllocateLead(lead, count);
    if (copied) std::memcpy(target.LeadSamples[lead], source.LeadSamples[lead], 2u * count);
  }
  if (!copied) {
    plat::KeepLastError keep;
    target.KillData();
  }
  return copied;
}

// The tables whose own Set refuses an empty source.
template <class Table>
bool CopyEntries(Table& target, const Table& source) {
  if (source.Count != 0) return target.Set(&source);
  target.KillData();
  return true;
}

bool CopyStore(SScpRecord& target, const SScpRecord& source) {
  target.KillData();
  if (source.DynamicCapacity != 0 && !target.Allocate(source.DynamicCapacity)) return false;
  const unsigned entries = SScpRecord::kFixedEntries + source.DynamicCapacity;
  for (unsigned entry = 0; entry < entries; ++entry) {
    const bool fixed = entry < SScpRecord::kFixedEntries;
    const unsigned at = fixed ? entry : entry - SScpRecord::kFixedEntries;
    const uint8_t* data = fixed ? source.FixedData[at] : source.DynamicData[at];
    const uint32_t length = fixed ? source.FixedLengths[at] : source.DynamicLengths[at];
    const uint16_t id = fixed ? source.FixedIds[at] : source.DynamicIds[at];
    uint8_t* copy = nullptr;
    if (data != nullptr && length != 0) {
      copy = static_cast<uint8_t*>(std::malloc(length));  // the store frees with free()
      if (copy == nullptr) {
        target.KillData();
        return plat::FailWith(plat::kErrOutOfMemory);
      }
      std::memcpy(copy, data, length);
    }
    (fixed ? target.FixedData[at] : target.DynamicData[at]) = copy;
    (fixed ? target.FixedLengths[at] : target.DynamicLengths[at]) = copy ? length : 0;
    (fixed ? target.FixedIds[at] : target.DynamicIds[at]) = id;
  }
  target.Used = source.Used;
  return true;
}

void CopyText(plat::Bstr* target, const plat::Bstr source) {
  FreeString(target);
  if (source != nullptr) *target = plat::SysAllocStringLen(source, plat::SysStringLen(source));
}

}  // namespace

CWriter::CWriter(const CWriter& source) : CReader() {
  CopyFrom(source);
}

CWriter& CWriter::operator=(const CWriter& source) {
  if (this != &source) CopyFrom(source);
  return *this;
}

bool CWriter::CopyFrom(const CWriter& source) {
  Close();
  plat::SetLastError(plat::kErrSuccess);
  // The records' and the identity's strings report a failed copy only by the last error.
  Patient = source.Patient;
  Recording = source.Recording;
  General = source.General;
  Analysis = source.Analysis;
  CopyText(&WriterName, source.WriterName);
  CopyText(&WriterVersion, source.WriterVersion);
  bool copied = plat::LastError() == plat::kErrSuccess && CopyIndex(Index, source.Index) &&
                CopyUnknownTags(UnknownTags, source.UnknownTags) &&
                CopyEntries(LeadErrors, source.LeadErrors) &&
                CopyEntries(LeadMeasurements, source.LeadMeasurements) &&
                CopyEntries(LeadDefinitions, source.LeadDefinitions) &&
                CopySamples(Median, source.Median) && CopySamples(Rhythm, source.Rhythm) &&
                CopyStore(Store, source.Store);
  if (!copied) {
    plat::KeepLastError keep;
    Close();
    FreeString(&WriterName);
    FreeString(&WriterVersion);
    UpdateMode = false;
    return false;
  }
  LeadDefinitions.Flags = source.LeadDefinitions.Flags;
  LeadMeasurements.RecordSize = source.LeadMeasurements.RecordSize;
  std::memcpy(RecordHeader, source.RecordHeader, sizeof(RecordHeader));
  HasRhythm = source.HasRhythm;
  HasMedian = source.HasMedian;
  RequiredTags = source.RequiredTags;
  Loaded = source.Loaded;
  UpdateMode = source.UpdateMode;
  return true;
}
