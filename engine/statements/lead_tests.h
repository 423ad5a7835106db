// The leads of a recording as the criteria look at them: lead groups, and the tests
// of one lead's waves the criteria share.
#pragma once

#include <array>
#include <cstdint>

#include "engine/findings.h"
#include "record/codes.h"

namespace ktx::engine::leads {

// SCP-ECG lead codes, short as the criteria name them.
constexpr uint16_t kI = kLeadI, kII = kLeadII, kIII = kLeadIII;
constexpr uint16_t kAVR = kLeadAVR, kAVL = kLeadAVL, kAVF = kLeadAVF;
constexpr uint16_t kV1 = kLeadV1, kV2 = kLeadV2, kV3 = kLeadV3, kV4 = kLeadV4, kV5 = kLeadV5,
                   kV6 = kLeadV6;

// Up to seven lead codes, 0 where the group has fewer.
using Group = std::array<uint16_t, 7>;

constexpr Group kAnterior = {kV1, kV2, kV3, kV4};
constexpr Group kInferior = {kII, kIII, kAVF};
constexpr Group kLateral = {kI, kAVL, kV5, kV6};
constexpr Group kHighLateral = {kI, kAVL};
constexpr Group kLimb = {kI, kII, kIII, kAVR, kAVL, kAVF};
constexpr Group kPrecordial = {kV1, kV2, kV3, kV4, kV5, kV6};

const LeadFindings* Find(const Findings& findings, uint16_t code);

// Leads of `group` that are present and pass `test`.
template <typename Test>
int Count(const Findings& findings, const Group& group, Test test) {
  int count = 0;
  for (uint16_t code : group) {
    const LeadFindings* lead = code ? Find(findings, code) : nullptr;
    if (lead && test(*lead)) ++count;
  }
  return count;
}

int CountPresent(const Findings& findings, const Group& group);

int PeakToPeak(const LeadFindings& lead);
// The positive waves outweigh the negative ones.
bool MainlyPositive(const LeadFindings& lead);
// The largest positive and negative waves of the QRS (the negative as a positive size).
int TallestR(const LeadFindings& lead);
int DeepestS(const LeadFindings& lead);
// No positive wave at all.
bool IsQS(const LeadFindings& lead);
// A q wave ahead of the R wave.
bool HasQ(const LeadFindings& lead);
// The T wave's negative part outweighs its positive one.
bool TNegative(const LeadFindings& lead, int depthFrom);

}  // namespace ktx::engine::leads
