// Header record fields as one line of text, so that a test compares the fields it names
// in one assertion: Fields(info, "leads samples") gives "leads=1 samples=4". Values after
// the names are passed over, so EXPECT_EQ(Fields(info, want), want) checks `want`.
#pragma once

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/event.h"

namespace acqtest {

inline std::string Fields(const SECGInfo& i, const std::string& names) {
  auto n = [](int value) { return std::to_string(value); };
  auto hex = [](int value) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", value);
    return std::string(text);
  };
  const std::map<std::string, std::string> all = {
      {"serial", std::string(i.SerialNumber, strnlen(i.SerialNumber, 256))},
      {"hw", n(i.HardwareVersion)},
      {"sw", n(i.SoftwareVersion)},
      {"filters", hex(i.Filters)},
      {"flags", hex(i.DeviceFlags)},
      {"leads", n(i.LeadCount)},
      {"bits", n(i.SampleBits)},
      {"date", n(i.Year) + "-" + n(i.Month) + "-" + n(i.Day)},
      {"time", n(i.Hour) + ":" + n(i.Minute) + ":" + n(i.Second)},
      {"lead", n(i.SingleLead)},
      {"gain", n(i.Gain)},
      {"status", hex(i.Status)},
      {"samples", n(i.SampleCount)},
      {"interval", n(i.SampleInterval)},
      {"res", n(i.Resolution)}};
  std::istringstream in(names);
  std::string out;
  for (std::string name; in >> name;) {
    name = name.substr(0, name.find('='));
    out += (out.empty() ? "" : " ") + name + "=" + (all.count(name) ? all.at(name) : "?");
  }
  return out;
}

// The first `count` samples of a lead.
inline std::vector<int> Values(const SLeadData& lead, int count) {
  return std::vector<int>(lead.Samples, lead.Samples + count);
}

}  // namespace acqtest
