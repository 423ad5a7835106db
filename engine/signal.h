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

  size_t Length() const { return Leads.empty() ? 0 : Leads[0].size(); }
  int Samples(double seconds) const { return static_cast<int>(seconds * Rate + 0.5); }
};

}  // namespace ktx::engine
