// Completes a working copy to the eight independent leads the engine expects: II
// from I, then V1 to V6 as copies of II (or of I).
#include "analysis/analysis.h"
#include "platform/errors.h"
#include "reader/section_parsers.h"

namespace {

constexpr int16_t kLeadI = 1;
constexpr int16_t kLeadII = 2;
constexpr int16_t kLeadV1 = 3;
constexpr int16_t kLeadV6 = 8;

// Finds section `id` of the open file and parses it; an absent section fails with
// 232 when `required` and is passed over otherwise.
template <typename Parse>
bool LoadSection(CReader& reader, uint16_t id, bool required, Parse parse) {
  uint8_t header[CReader::kSectionHeaderSize];
  if (!CReader::FindSection(reader.File, &reader.Index, id, header)) {
    if (plat::LastError() != plat::kErrSuccess) return false;
    return !required || plat::FailWith(plat::kErrNoData);
  }
  return parse(header);
}

bool LoadWaveform(CReader& reader) {
  const bool leads = LoadSection(reader, 3, true, [&](const uint8_t* header) {
    if (!ParseSection3(reader.File, header, &reader.LeadDefinitions)) return false;
    reader.Loaded |= kSection3;
    return true;
  });
  if (!leads) return false;
  const bool rhythm = LoadSection(reader, 6, true, [&](const uint8_t* header) {
    if (!ParseSampleData(reader.File, header, &reader.LeadDefinitions, &reader.Rhythm, true)) {
      return false;
    }
    reader.HasRhythm = 1;
    reader.Loaded |= kSection6;
    return true;
  });
  if (!rhythm) return false;
  return LoadSection(reader, 5, false, [&](const uint8_t* header) {
    if (!ParseSampleData(reader.File, header, &reader.LeadDefinitions, &reader.Median, false)) {
      return false;
    }
    reader.HasMedian = 1;
    reader.Loaded |= kSection5;
    return true;
  });
}

bool HasLead(const SLeadDefinitions& leads, int16_t code) {
  return leads.GetIdIndexFromId(code) != SLeadDefinitions::kNoLead;
}

}  // namespace

bool CAnalysis::CreateVLeads(const char* fileName) {
  return Rewrite(fileName, kSection3 | kSection5 | kSection6, [this] {
    if (!LoadWaveform(*this)) return false;
    const bool hadII = HasLead(LeadDefinitions, kLeadII);
    if (!hadII) {
      const double third = 1.0 / 3.0;
      const int16_t source = kLeadI;
      if (!CalculateLead(kLeadII, 1, &third, &source, true)) return false;
    }
    const int16_t source = hadII ? kLeadII : kLeadI;
    const double one = 1.0;
    for (int16_t code = kLeadV1; code <= kLeadV6; ++code) {
      if (HasLead(LeadDefinitions, code)) continue;
      const unsigned simultaneous = LeadDefinitions.Flags >> 3;
      if (!CalculateLead(code, 1, &one, &source, LeadDefinitions.Count >= simultaneous)) {
        return false;
      }
    }
    return GenerateLeadErrors();
  });
}
