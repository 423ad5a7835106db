// The recording as the analysis chain sees it: every lead in microvolts at one rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ktx::engine {

struct Signal {
  double Rate = 0;  // samples per second
  std::vector<uint16_t> LeadCodes;
  std::vector<std::vector<double>> Leads;  // microvolts, all of one length
  // Per lead, 1 where the rhythm carried a lead-error marker (2032-2034) instead of a
  // sample; such samples hold the last measured value and are never taken as signal.
  std::vector<std::vector<uint8_t>> Gaps;
  // The leads that detection and the global boundaries look at (indexes into Leads):
  // one of each set of identical leads, and no lead that is the sum of others. Empty
  // for all of them.
  std::vector<size_t> Independent;

  size_t Length() const { return Leads.empty() ? 0 : Leads[0].size(); }
  int Samples(double seconds) const { return static_cast<int>(seconds * Rate + 0.5); }
  std::vector<size_t> UsedLeads() const {
    if (!Independent.empty()) return Independent;
    std::vector<size_t> all(Leads.size());
    for (size_t l = 0; l < all.size(); ++l) all[l] = l;
    return all;
  }
};

// One of each set of identical leads (a driver fills missing chest leads with copies
// of II), without III, aVR, aVL and aVF when I and II are there: by Einthoven's and
// Goldberger's definitions they are sums of those two and add nothing but weight.
std::vector<size_t> IndependentLeads(const Signal& raw);

}  // namespace ktx::engine
