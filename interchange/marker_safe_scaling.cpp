#include "interchange/marker_safe_scaling.h"

#include <algorithm>
#include <cmath>

#include "interchange/text_fields.h"

namespace {

constexpr long kLargestSample = 32767;
constexpr double kLargestAvm = 65535;
constexpr double kDefaultAvm = 1000;  // one microvolt

// Whether `microvolts` stays within 16 bits at `avm` once rounded.
bool Fits(double microvolts, double avm) {
  return std::lround(microvolts * 1000.0 / avm) <= kLargestSample;
}

std::string Millivolts(double microvolts) {
  return ktx::interchange::ShortNumber(microvolts / 1000.0, 6) + " mV";
}

}  // namespace

bool ChooseAvm(double largestMicrovolts, double stepNv, uint16_t requested, uint16_t* avm,
               std::string* why) {
  if (!std::isfinite(largestMicrovolts)) {
    *why = "a sample is infinite";
    return false;
  }
  double needed = std::max(1.0, std::ceil(largestMicrovolts * 1000.0 / 32767.0));
  if (needed <= kLargestAvm) {
    while (!Fits(largestMicrovolts, needed)) needed += 1;  // rounding may want one more
  }
  if (needed > kLargestAvm) {
    *why = "the largest sample, " + Millivolts(largestMicrovolts) +
           ", is beyond 16 bits at any AVM (at most 65535 nV)";
    return false;
  }
  if (requested != 0) {
    if (requested < needed) {
      *why = "--avm " + std::to_string(requested) + " leaves samples beyond 16 bits: the " +
             "largest, " + Millivolts(largestMicrovolts) + ", needs at least " +
             ktx::interchange::ShortNumber(needed) + " nV";
      return false;
    }
    *avm = requested;
    return true;
  }
  // A resolution computed from a gain may fall a hair below the integer it is.
  double base = stepNv > 0 ? std::floor(stepNv * (1 + 1e-9)) : kDefaultAvm;
  base = std::min(std::max(base, 1.0), kLargestAvm);
  *avm = static_cast<uint16_t>(std::max(base, needed));
  return true;
}

int16_t MarkerSafeSample(double microvolts, uint16_t avm, SScaling* counts) {
  if (std::isnan(microvolts)) {
    ++counts->InvalidSamples;
    return kInvalidSampleMarker;
  }
  const double exact = microvolts * 1000.0 / avm;
  long sample = std::lround(exact);
  if (IsLeadErrorMarker(sample)) {
    sample =
        (sample == kMarkerErrorBit0 || (sample == kMarkerErrorBit1 && exact < kMarkerErrorBit1))
            ? kMarkerErrorBit0 - 1
            : kMarkerErrorBit2 + 1;
    ++counts->MovedSamples;
  }
  return static_cast<int16_t>(sample);
}
