// The leads of a recording as the criteria look at them: lead groups, and the tests
// of one lead's waves the criteria share.
#pragma once

#include <array>
#include <cstdint>

#include "engine/findings.h"

namespace ktx::engine::leads {

// SCP-ECG lead codes.
constexpr uint16_t kI = 1, kII = 2, kV1 = 3, kV2 = 4, kV3 = 5, kV4 = 6, kV5 = 7, kV6 = 8;
constexpr uint16_t kIII = 61, kAVR = 62, kAVL = 63, kAVF = 64;

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
