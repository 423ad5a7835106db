#include <algorithm>

#include "engine/signal.h"
#include "record/codes.h"

namespace ktx::engine {
namespace {

bool IsAugmentedOrIII(uint16_t code) {
  return code >= kLeadIII && code <= kLeadAVF;
}

}  // namespace

std::vector<size_t> IndependentLeads(const Signal& raw) {
  const auto has = [&](uint16_t code) {
    return std::find(raw.LeadCodes.begin(), raw.LeadCodes.end(), code) != raw.LeadCodes.end();
  };
  const bool limbsFromTwo = has(kLeadI) && has(kLeadII);
  std::vector<size_t> kept;
  for (size_t l = 0; l < raw.Leads.size(); ++l) {
    if (limbsFromTwo && l < raw.LeadCodes.size() && IsAugmentedOrIII(raw.LeadCodes[l])) continue;
    const bool copy = std::any_of(kept.begin(), kept.end(), [&](size_t k) {
      return raw.Leads[k] == raw.Leads[l] && raw.Gaps[k] == raw.Gaps[l];
    });
    if (!copy) kept.push_back(l);
  }
  return kept;
}

}  // namespace ktx::engine
