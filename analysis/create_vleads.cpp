// Completes a working copy to the eight independent leads the engine expects: II
// from I, then V1 to V6 as copies of II (or of I).
#include "analysis/analysis.h"
#include "platform/errors.h"
#include "reader/waveform_loading.h"
#include "record/codes.h"

namespace {

bool LoadWaveform(CReader& reader) {
  return LoadLeadDefinitions(reader) && LoadRhythm(reader) && LoadMedian(reader);
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
