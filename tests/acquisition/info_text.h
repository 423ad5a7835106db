// Header record fields as one line of text, so that a test compares the fields it names
// in one assertion: Fields(info, "leads samples") gives "leads=1 samples=4". Values after
// the names are passed over, so EXPECT_EQ(Fields(info, want), want) checks `want`.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/event.h"

namespace acqtest {

inline std::string Fields(const SECGInfo& i, const std::string& names) {
  auto hex = [](int value) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", value);
    return std::string(text);
  };
  std::istringstream in(names);
  std::string out;
  for (std::string name; in >> name;) {
    name = name.substr(0, name.find('='));
    std::string value;
    if (name == "serial") value = std::string(i.SerialNumber, strnlen(i.SerialNumber, 256));
    if (name == "hw") value = std::to_string(i.HardwareVersion);
    if (name == "sw") value = std::to_string(i.SoftwareVersion);
    if (name == "filters") value = hex(i.Filters);
    if (name == "flags") value = hex(i.DeviceFlags);
    if (name == "status") value = hex(i.Status);
    if (name == "leads") value = std::to_string(i.LeadCount);
    if (name == "bits") value = std::to_string(i.SampleBits);
    if (name == "date") {
      value = std::to_string(i.Year) + "-" + std::to_string(i.Month) + "-" + std::to_string(i.Day);
    }
    if (name == "time") {
      value =
          std::to_string(i.Hour) + ":" + std::to_string(i.Minute) + ":" + std::to_string(i.Second);
    }
    if (name == "lead") value = std::to_string(i.SingleLead);
    if (name == "gain") value = std::to_string(i.Gain);
    if (name == "samples") value = std::to_string(i.SampleCount);
    if (name == "interval") value = std::to_string(i.SampleInterval);
    if (name == "res") value = std::to_string(i.Resolution);
    out += (out.empty() ? "" : " ") + name + "=" + value;
  }
  return out;
}

// The first `count` samples of a lead.
inline std::vector<int> Values(const SLeadData& lead, int count) {
  return std::vector<int>(lead.Samples, lead.Samples + count);
}

}  // namespace acqtest
