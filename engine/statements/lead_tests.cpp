#include "engine/statements/lead_tests.h"

#include <algorithm>

namespace ktx::engine::leads {

const LeadFindings* Find(const Findings& findings, uint16_t code) {
  for (const LeadFindings& lead : findings.Leads) {
    if (lead.LeadCode == code) return &lead;
  }
  return nullptr;
}

int CountPresent(const Findings& findings, const Group& group) {
  return Count(findings, group, [](const LeadFindings&) { return true; });
}

int PeakToPeak(const LeadFindings& lead) {
  return TallestR(lead) + DeepestS(lead);
}

int TallestR(const LeadFindings& lead) {
  return std::max({lead.RAmplitude, lead.RdashAmplitude, 0});
}

int DeepestS(const LeadFindings& lead) {
  return -std::min({lead.QAmplitude, lead.SAmplitude, lead.SdashAmplitude, 0});
}

bool MainlyPositive(const LeadFindings& lead) {
  return TallestR(lead) > DeepestS(lead);
}

bool IsQS(const LeadFindings& lead) {
  return lead.RAmplitude <= 0 && lead.RdashAmplitude <= 0 &&
         std::min(lead.QAmplitude, lead.SAmplitude) < 0;
}

bool HasQ(const LeadFindings& lead) {
  return lead.QAmplitude < 0 && lead.RAmplitude > 0;
}

bool TNegative(const LeadFindings& lead, int depthFrom) {
  return -lead.TAmplitudeMinus >= depthFrom && -lead.TAmplitudeMinus > lead.TAmplitudePlus;
}

}  // namespace ktx::engine::leads
