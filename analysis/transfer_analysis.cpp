// Carries the engine's results from the working copy into the caller's file, in the
// file's own lead order, and builds Section 10.
#include <algorithm>
#include <cstring>

#include "analysis/analysis.h"
#include "platform/errors.h"
#include "reader/section_parsers.h"
#include "record/little_endian.h"
#include "record/string_field.h"

namespace {

bool KeptFromFile(uint16_t id) {
  return id == 2 || id == 3 || id == 6 || id == 8 || id >= 11;
}

bool KeptFromFileWithSection1(uint16_t id) {
  return id == 1 || KeptFromFile(id);
}

bool TakenFromWorkingCopy(uint16_t id) {
  return id == 4 || id == 7 || id == 9;
}

bool IsDerivedLimbLead(uint16_t code) {
  return code >= 61 && code <= 64;
}

// Parses section `id` of the open file with `parse`; *present tells whether the file
// has it. An absent section is not a failure.
template <typename Parse>
bool ParseIfPresent(CReader& reader, uint16_t id, bool* present, Parse parse) {
  uint8_t header[CReader::kSectionHeaderSize];
  *present = CReader::FindSection(reader.File, &reader.Index, id, header);
  if (!*present) return plat::LastError() == plat::kErrSuccess;
  return parse(header);
}

// The interpretation text and its flags, taken from one file for another.
struct HeldText {
  plat::Bstr Text = nullptr;
  uint8_t Confirmed = 0;
  uint8_t Modified = 0;
  HeldText() = default;
  ~HeldText() { FreeString(&Text); }
  HeldText(const HeldText&) = delete;
  HeldText& operator=(const HeldText&) = delete;
};

}  // namespace

bool CAnalysis::TransferAnalysis(const char* fileName, const char* workingCopy, bool transferText) {
  auto fail = [this] {
    Close();
    return false;
  };
  HeldText held;
  if (transferText) {
    if (!BeginRewrite(workingCopy)) return false;
    held.Confirmed = General.InterpretationConfirmed;
    held.Modified = General.InterpretationModified;
    if (General.InterpretationText != nullptr) {
      held.Text = plat::SysAllocString(General.InterpretationText);
      if (held.Text == nullptr) return plat::FailWith(plat::kErrOutOfMemory) || fail();
    }
    Close();
  }

  // The file: Section 1 with the held text, its own lead table as the reference
  // order, and the sections the analysis does not touch.
  if (transferText) {
    if (!BeginRewrite(fileName)) return false;
  } else {
    Close();
    UpdateMode = true;
    if (!OpenIndex(fileName)) return fail();
  }
  if (!ReserveEntries(Index.Count + 1 + 5)) return fail();
  if (transferText) {
    FreeString(&General.InterpretationText);
    General.InterpretationText = held.Text;
    held.Text = nullptr;
    General.InterpretationConfirmed = held.Confirmed;
    General.InterpretationModified = held.Modified;
    if (!CreateSec1()) return fail();
  }
  bool present = false;
  const bool leads = ParseIfPresent(*this, 3, &present, [this](const uint8_t* header) {
    return ParseSection3(File, header, &LeadDefinitions);
  });
  if (!leads) return fail();
  if (!present) return plat::FailWith(plat::kErrNoData) || fail();
  Loaded |= kSection3;
  if (!StoreKept(transferText ? KeptFromFile : KeptFromFileWithSection1)) return fail();

  // The working copy: its leads, reference beats and measurements.
  if (!OpenIndex(workingCopy)) return fail();
  SLeadDefinitions copyLeads;
  SEncodedData copyMedian;
  SLeadMeasurements copyMeasurements;
  bool copyHasLeads = false;
  bool copyHasMedian = false;
  bool copyHasMeasurements = false;
  if (!ParseIfPresent(*this, 3, &copyHasLeads, [&](const uint8_t* header) {
        return ParseSection3(File, header, &copyLeads);
      })) {
    return fail();
  }
  if (copyHasLeads && !ParseIfPresent(*this, 5, &copyHasMedian, [&](const uint8_t* header) {
        return ParseSampleData(File, header, &copyLeads, &copyMedian, false);
      })) {
    return fail();
  }
  if (!ParseIfPresent(*this, 10, &copyHasMeasurements, [&](const uint8_t* header) {
        return ParseSection10(File, header, &copyMeasurements);
      })) {
    return fail();
  }

  const uint8_t count = LeadDefinitions.Count;
  if (copyHasMedian) {
    if (!Median.Allocate(count)) return fail();
    Median.AVM = copyMedian.AVM;
    Median.SampleInterval = copyMedian.SampleInterval;
    Median.Encoding = copyMedian.Encoding;
    Median.Bimodal = copyMedian.Bimodal;
    for (uint8_t lead = 0; lead < count; ++lead) {
      const int16_t from = copyLeads.GetIdIndexFromId(LeadDefinitions.Leads[lead].LeadId);
      if (from == SLeadDefinitions::kNoLead || from >= copyMedian.LeadCount) {
        return plat::FailWith(plat::kErrInvalidData) || fail();
      }
      const auto source = static_cast<uint8_t>(from);
      const uint16_t samples = copyMedian.SampleCounts[source];
      if (samples == 0) continue;
      if (!Median.AllocateLead(lead, samples)) return fail();
      std::memcpy(Median.LeadSamples[lead], copyMedian.LeadSamples[source], 2u * samples);
    }
    HasMedian = 1;
    Loaded |= kSection5;
    if (!CreateSec5()) return fail();
  }

  if (copyHasMeasurements && copyMeasurements.Count > 0) {
    // The file's leads first, in its order; then the limb leads only the copy has.
    const SLeadMeasurement* records[SLeadMeasurements::kMaxLeads] = {};
    unsigned taken = 0;
    for (uint8_t lead = 0; lead < count; ++lead) {
      const uint16_t code = LeadDefinitions.Leads[lead].LeadId;
      const SLeadMeasurement* found = nullptr;
      for (unsigned r = 0; r < copyMeasurements.Count && found == nullptr; ++r) {
        if (copyMeasurements.Records[r].LeadId == code) found = &copyMeasurements.Records[r];
      }
      if (found == nullptr) return plat::FailWith(plat::kErrInvalidData) || fail();
      records[taken++] = found;
    }
    for (unsigned r = 0; r < copyMeasurements.Count && taken < SLeadMeasurements::kMaxLeads; ++r) {
      const SLeadMeasurement& record = copyMeasurements.Records[r];
      if (IsDerivedLimbLead(record.LeadId) && LeadDefinitions.GetIdIndexFromId(static_cast<int16_t>(
                                                  record.LeadId)) == SLeadDefinitions::kNoLead) {
        records[taken++] = &record;
      }
    }
    const auto size =
        std::min<uint16_t>(copyMeasurements.RecordSize, SLeadMeasurements::kRecordSize);
    if (!LeadMeasurements.Allocate(static_cast<uint16_t>(taken))) return fail();
    LeadMeasurements.RecordSize = size;
    for (unsigned r = 0; r < taken; ++r) {
      LeadMeasurements.Records[r] = *records[r];
      LeadMeasurements.Records[r].RecordLength = size;
    }
    Loaded |= kSection10;
    if (!CreateSec10()) return fail();
  }

  if (!StoreKept(TakenFromWorkingCopy)) return fail();
  const bool written = WriteSections(fileName);
  Close();
  return written;
}

bool CAnalysis::CreateSec10() {
  uint16_t entry = 0;
  if (!NextEntry(&entry)) return false;
  if (!(Loaded & kSection10) || LeadMeasurements.Count == 0 ||
      LeadMeasurements.Records == nullptr || LeadMeasurements.RecordSize == 0) {
    return plat::FailWith(plat::kErrNoData);
  }
  const uint32_t size =
      std::min<uint32_t>(LeadMeasurements.RecordSize, SLeadMeasurements::kRecordSize);
  uint32_t length = kSectionHeaderSize + 4;
  for (unsigned r = 0; r < LeadMeasurements.Count; ++r) {
    length += std::min<uint32_t>(LeadMeasurements.Records[r].RecordLength, size);
  }
  length += length & 1u;
  uint8_t* section = nullptr;
  if (!PlaceSection(entry, 10, length, &section)) return false;
  uint8_t* out = section + kSectionHeaderSize;
  PutLE16(out, LeadMeasurements.Count);
  PutLE16(out + 2, static_cast<uint16_t>(size));
  out += 4;
  for (unsigned r = 0; r < LeadMeasurements.Count; ++r) {
    const SLeadMeasurement& record = LeadMeasurements.Records[r];
    const uint32_t bytes = std::min<uint32_t>(record.RecordLength, size);
    // The 31 values in file order, low byte first, as far as the record reaches.
    uint8_t values[SLeadMeasurements::kRecordSize];
    const auto* words = reinterpret_cast<const uint16_t*>(&record);
    for (unsigned v = 0; v < SLeadMeasurements::kRecordSize / 2; ++v) {
      uint16_t word = 0;
      std::memcpy(&word, reinterpret_cast<const uint8_t*>(words) + 2 * v, 2);
      PutLE16(values + 2 * v, word);
    }
    std::memcpy(out, values, bytes);
    out += bytes;
  }
  return FinishEntry(entry);
}
