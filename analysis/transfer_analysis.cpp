// Carries the engine's results from the working copy into the caller's file, in the
// file's own lead order, and builds Section 10.
#include <algorithm>
#include <cstring>

#include "analysis/analysis.h"
#include "format/sample_sections.h"
#include "format/section10.h"
#include "format/section3.h"
#include "platform/errors.h"
#include "record/string_field.h"
#include "writer/section_rewrite.h"

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

// The working copy's reference beats, one per lead of `order` in that order.
bool ReorderBeats(const SLeadDefinitions& order, const SLeadDefinitions& copyLeads,
                  const SEncodedData& copy, SEncodedData* beats) {
  if (!beats->Allocate(order.Count)) return false;
  beats->AVM = copy.AVM;
  beats->SampleInterval = copy.SampleInterval;
  beats->Encoding = copy.Encoding;
  beats->Bimodal = copy.Bimodal;
  for (uint8_t lead = 0; lead < order.Count; ++lead) {
    const int16_t from = copyLeads.GetIdIndexFromId(order.Leads[lead].LeadId);
    if (from == SLeadDefinitions::kNoLead || from >= copy.LeadCount) {
      return plat::FailWith(plat::kErrInvalidData);
    }
    const auto source = static_cast<uint8_t>(from);
    const uint16_t samples = copy.SampleCounts[source];
    if (samples == 0) continue;
    if (!beats->AllocateLead(lead, samples)) return false;
    std::memcpy(beats->LeadSamples[lead], copy.LeadSamples[source], 2u * samples);
  }
  return true;
}

// The copy's measurement records: one per lead of `order`, in that order, then those
// of the derived limb leads that `order` lacks, in the copy's order; at most 62 bytes.
bool ReorderMeasurements(const SLeadDefinitions& order, const SLeadMeasurements& copy,
                         SLeadMeasurements* table) {
  const SLeadMeasurement* records[SLeadMeasurements::kMaxLeads] = {};
  unsigned taken = 0;
  for (uint8_t lead = 0; lead < order.Count; ++lead) {
    const SLeadMeasurement* found = nullptr;
    for (unsigned r = 0; r < copy.Count && found == nullptr; ++r) {
      if (copy.Records[r].LeadId == order.Leads[lead].LeadId) found = &copy.Records[r];
    }
    if (found == nullptr) return plat::FailWith(plat::kErrInvalidData);
    records[taken++] = found;
  }
  for (unsigned r = 0; r < copy.Count && taken < SLeadMeasurements::kMaxLeads; ++r) {
    const uint16_t code = copy.Records[r].LeadId;
    if (IsDerivedLimbLead(code) &&
        order.GetIdIndexFromId(static_cast<int16_t>(code)) == SLeadDefinitions::kNoLead) {
      records[taken++] = &copy.Records[r];
    }
  }
  const auto size = std::min<uint16_t>(copy.RecordSize, SLeadMeasurements::kRecordSize);
  if (!table->Allocate(static_cast<uint16_t>(taken))) return false;
  table->RecordSize = size;
  for (unsigned r = 0; r < taken; ++r) {
    table->Records[r] = *records[r];
    table->Records[r].RecordLength = size;
  }
  return true;
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
    if (!OpenIndexed(fileName)) return fail();
  }
  // The file's sections but Section 0, a rebuilt Section 1 and the five results.
  if (!ReserveEntries(Index.Count + 5)) return fail();
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
  if (!OpenIndexed(workingCopy)) return fail();
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

  if (copyHasMedian) {
    if (!ReorderBeats(LeadDefinitions, copyLeads, copyMedian, &Median)) return fail();
    HasMedian = 1;
    Loaded |= kSection5;
    if (!CreateSec5()) return fail();
  }
  if (copyHasMeasurements && copyMeasurements.Count > 0) {
    if (!ReorderMeasurements(LeadDefinitions, copyMeasurements, &LeadMeasurements)) return fail();
    Loaded |= kSection10;
    if (!CreateSec10()) return fail();
  }

  if (!StoreKept(TakenFromWorkingCopy)) return fail();
  return CSectionRewrite(*this).Commit(fileName);
}

bool CAnalysis::CreateSec10() {
  if (!(Loaded & kSection10) || LeadMeasurements.Count == 0 ||
      LeadMeasurements.Records == nullptr || LeadMeasurements.RecordSize == 0) {
    return plat::FailWith(plat::kErrNoData);
  }
  return AddBuilt(10, Section10BodySize(LeadMeasurements),
                  [this](uint8_t* body) { BuildSection10(LeadMeasurements, body); });
}
