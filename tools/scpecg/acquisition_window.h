// The part of an acquisition a command stores: a time window, and the cap a record puts
// on the samples of one lead.
#pragma once

#include <cstdint>
#include <string>

struct SLeadObj;

namespace scpecg {

// Samples per lead a record can hold: a Section 6 counts each lead's bytes in 16 bits.
constexpr uint64_t kMaxStoredSamples = 32767;

// --start S --seconds N: from S seconds into the acquisition, N seconds long (0 or
// absent: to the end).
struct SampleWindow {
  double Start = 0;
  double Seconds = 0;
  bool Given = false;
};

struct SampleRange {
  uint64_t First = 0;
  uint64_t Count = 0;
};

// The samples of `window` in a lead of `total` samples taken at `rate` Hz: start and
// length rounded down to whole samples, cut at the end of the lead. Count 0 when the
// window starts at or after the end.
SampleRange WindowSamples(const SampleWindow& window, double rate, uint64_t total);

// What to tell a user whose `count` samples per lead (at `rate` Hz, 0 when unknown) do
// not fit a record: "WHAT holds N samples per lead (T s at R Hz); a record holds at most
// 32767 (T s)", for the caller to add the way out.
std::string TooLongMessage(const std::string& what, uint64_t count, double rate);

// `range` of every lead of `leads` into `window` (fresh leads, identities kept); false
// with the last error of the allocation when memory runs out.
bool WindowLeads(const SLeadObj& leads, const SampleRange& range, SLeadObj* window);

}  // namespace scpecg
