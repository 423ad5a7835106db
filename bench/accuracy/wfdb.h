// WFDB records as the MIT-BIH Arrhythmia Database ships them: the header, format 212
// signals and MIT-format beat annotations.
#pragma once

#include <string>
#include <vector>

namespace accuracy {

struct WfdbRecord {
  double Rate = 0;
  std::vector<std::string> LeadNames;
  std::vector<int> Gains, Zeros;          // ADC units per mV, ADC zero
  std::vector<std::vector<int>> Samples;  // per signal, ADC units
};

// Reads NAME.hea and NAME.dat (two signals, format 212); false with `error` set.
bool ReadRecord(const std::string& path, WfdbRecord* record, std::string* error);

// Sample numbers of the beat annotations in NAME.atr.
bool ReadBeats(const std::string& path, std::vector<long>* beats, std::string* error);

}  // namespace accuracy
