// Derived leads: a lead computed as the weighted sum of loaded leads, and the limb
// leads III, aVR, aVL and aVF completed from I and II.
#include <cmath>
#include <cstdint>

#include "platform/errors.h"
#include "reader/reader.h"
#include "record/codes.h"

namespace {

constexpr uint8_t kSimultaneousBit = 0x04;
constexpr uint8_t kCountShift = 3;  // bits 3-7 of the flags: leads recorded simultaneously

// value × coefficient truncated toward zero, reduced modulo 2^16. fmod is exact, so
// the result is the true product's low 16 bits for any finite coefficient, and no
// conversion ever sees a value out of range.
int32_t WeightedLow16(int16_t value, double coefficient) {
  const double product = std::fmod(std::trunc(value * coefficient), 65536.0);
  return std::isnan(product) ? 0 : static_cast<int32_t>(product);
}

// Sums are kept as signed 16-bit values: the conversion keeps the low 16 bits.
int16_t Wrap16(int32_t value) {
  return static_cast<int16_t>(value);
}

// One source sample added to a rhythm output sample. A marker in any source turns the
// output into a marker, 2032 winning over 2033 and 2033 over 2034; once the output is
// a marker, measurements no longer change it.
int16_t AddRhythmSample(int16_t sum, int16_t sample, double coefficient) {
  if (sample < kMarkerErrorBit0) {
    if (sum >= kMarkerErrorBit0) return sum;
    return Wrap16(sum + WeightedLow16(sample, coefficient));
  }
  switch (sum) {
    case kMarkerErrorBit0:
      return sum;
    case kMarkerErrorBit1:
      return sample == kMarkerErrorBit0 ? sample : sum;
    case kMarkerErrorBit2:
      return sample == kMarkerErrorBit0 || sample == kMarkerErrorBit1 ? sample : sum;
    default:
      return sample;
  }
}

// A source of a derived lead: where it stands in the tables and where its samples start.
struct Source {
  uint8_t Lead;
  uint32_t Start;
};

// The lead's buffer when the table has one for it, else null.
const int16_t* LeadBuffer(const SEncodedData& data, uint8_t lead) {
  if (data.LeadSamples == nullptr || data.SampleCounts == nullptr || lead >= data.LeadCount) {
    return nullptr;
  }
  return data.LeadSamples[lead];
}

}  // namespace

bool CReader::CalculateLead(int16_t target, uint8_t sources, const double* coefficients,
                            const int16_t* sourceIds, bool countSimultaneous) {
  if (coefficients == nullptr || sourceIds == nullptr || target < 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (LeadDefinitions.GetIdIndexFromId(target) != SLeadDefinitions::kNoLead) return true;
  if (plat::LastError() != plat::kErrSuccess) return false;  // no lead table, or code > 255
  // Without sources there is no common sample range.
  if (sources == 0) return plat::FailWith(plat::kErrInvalidParameter);

  Source from[UINT8_MAX];
  uint32_t start = 0;
  uint32_t end = UINT32_MAX;
  for (uint8_t j = 0; j < sources; ++j) {
    const int16_t index = LeadDefinitions.GetIdIndexFromId(sourceIds[j]);
    if (index == SLeadDefinitions::kNoLead) {
      return plat::FailWith(plat::LastError() != plat::kErrSuccess ? plat::LastError()
                                                                   : plat::kErrNoData);
    }
    const SLeadDef& lead = LeadDefinitions.Leads[index];
    if (lead.LeadId == target || lead.LeadId == 0 || lead.LeadId == 255) {
      return plat::FailWith(plat::kErrInvalidParameter);
    }
    if (HasRhythm) {
      const int16_t* samples = LeadBuffer(Rhythm, static_cast<uint8_t>(index));
      if (samples == nullptr) return plat::FailWith(plat::kErrNoData);
      // The buffer must reach the definition's last sample: the sums below index it by
      // sample number.
      if (lead.EndSample < lead.StartSample ||
          uint64_t{lead.EndSample} - lead.StartSample >= Rhythm.SampleCounts[index]) {
        return plat::FailWith(plat::kErrInvalidData);
      }
    }
    from[j] = Source{static_cast<uint8_t>(index), lead.StartSample};
    if (lead.StartSample > start) start = lead.StartSample;
    if (lead.EndSample < end) end = lead.EndSample;
  }
  if (start > end) return plat::FailWith(plat::kErrNoData);

  const uint8_t k = LeadDefinitions.Count;
  if (HasRhythm && Rhythm.LeadCount == k && !Rhythm.AddLeads(1)) return false;
  if (HasMedian && Median.LeadCount == k && !Median.AddLeads(1)) return false;
  if (!LeadDefinitions.AddLeads(1)) return false;
  LeadDefinitions.Leads[k] = SLeadDef{start, end, static_cast<uint8_t>(target)};
  if ((LeadDefinitions.Flags & kSimultaneousBit) && countSimultaneous) {
    const unsigned simultaneous = ((LeadDefinitions.Flags >> kCountShift) + 1u) & 0x1Fu;
    LeadDefinitions.Flags =
        static_cast<uint8_t>((LeadDefinitions.Flags & 0x07u) | (simultaneous << kCountShift));
  }

  if (HasRhythm && Rhythm.LeadCount == k + 1) {
    // Each source buffer covers its whole definition (checked above), so the common
    // range is shorter than 65536 samples.
    const uint32_t count = end - start + 1;
    if (!Rhythm.AllocateLead(k, static_cast<uint16_t>(count))) return false;
    int16_t* out = Rhythm.LeadSamples[k];
    for (uint32_t i = 0; i < count; ++i) {
      int16_t sum = 0;
      for (uint8_t j = 0; j < sources; ++j) {
        const int16_t sample = Rhythm.LeadSamples[from[j].Lead][start - from[j].Start + i];
        sum = AddRhythmSample(sum, sample, coefficients[j]);
      }
      out[i] = sum;
    }
  }

  if (HasMedian && Median.LeadCount == k + 1) {
    // The reference beats are as long as the shortest source beat; a source without
    // one leaves the derived lead without a beat too.
    uint16_t count = UINT16_MAX;
    for (uint8_t j = 0; j < sources; ++j) {
      const uint8_t lead = from[j].Lead;
      const uint16_t have = LeadBuffer(Median, lead) != nullptr ? Median.SampleCounts[lead] : 0;
      if (have < count) count = have;
    }
    if (count != 0) {
      if (!Median.AllocateLead(k, count)) return false;
      int16_t* out = Median.LeadSamples[k];
      for (uint16_t i = 0; i < count; ++i) {
        int32_t sum = 0;
        for (uint8_t j = 0; j < sources; ++j) {
          sum += WeightedLow16(Median.LeadSamples[from[j].Lead][i], coefficients[j]);
        }
        out[i] = Wrap16(sum);
      }
    }
  }
  return true;
}

bool CReader::GenerateCalculatedLeads() {
  if (!(Loaded & kSection3) || !(Loaded & (kSection5 | kSection6)) || LeadDefinitions.Count < 2 ||
      !(HasRhythm || HasMedian)) {
    return true;
  }
  struct Derived {
    int16_t Target;
    int16_t Sources[2];
    double Coefficients[2];
  };
  // III = II - I, aVR = -(I + II) / 2, aVL = I - II / 2, aVF = II - I / 2.
  static const Derived kLimbLeads[] = {
      {kLeadIII, {kLeadII, kLeadI}, {1.0, -1.0}},
      {kLeadAVR, {kLeadII, kLeadI}, {-0.5, -0.5}},
      {kLeadAVL, {kLeadI, kLeadII}, {1.0, -0.5}},
      {kLeadAVF, {kLeadI, kLeadII}, {-0.5, 1.0}},
  };
  for (const Derived& lead : kLimbLeads) {
    if (LeadDefinitions.GetIdIndexFromId(lead.Target) != SLeadDefinitions::kNoLead) continue;
    if (plat::LastError() != plat::kErrSuccess) return false;
    if (!CalculateLead(lead.Target, 2, lead.Coefficients, lead.Sources, true)) return false;
  }
  GenerateLeadErrors();
  return true;
}
