// WFDB records as PhysioNet ships them: the header (with its comment lines), format
// 212 and format 16 signals, and MIT-format annotations.
#pragma once

#include <string>
#include <vector>

namespace accuracy {

struct WfdbRecord {
  double Rate = 0;
  std::vector<std::string> LeadNames;
  std::vector<int> Gains, Zeros;          // ADC units per mV, ADC zero
  std::vector<std::vector<int>> Samples;  // per signal, ADC units
  std::vector<std::string> Comments;      // header lines after '#'
};

// Reads NAME.hea and NAME.dat (format 212 or 16, every signal in one file); false
// with `error` set.
bool ReadRecord(const std::string& path, WfdbRecord* record, std::string* error);

// MIT annotation codes the harnesses use.
constexpr int kCodeNormal = 1, kCodePWave = 24, kCodeTWave = 27, kCodeWaveOn = 39,
              kCodeWaveOff = 40;

struct Annotation {
  long Time;  // sample
  int Code;
};

// Every annotation of the MIT-format file `file`, in time order.
bool ReadAnnotations(const std::string& file, std::vector<Annotation>* annotations,
                     std::string* error);

// Sample numbers of the beat annotations in NAME.atr.
bool ReadBeats(const std::string& path, std::vector<long>* beats, std::string* error);

}  // namespace accuracy
