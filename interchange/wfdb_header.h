// WFDB record headers (.hea): the record line, one line per signal, comment lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SWfdbSignalSpec {
  std::string FileName;
  int Format = 0;
  int SamplesPerFrame = 1;
  int Skew = 0;
  uint64_t ByteOffset = 0;
  double Gain = 200;  // ADC units per physical unit (0 in the file: uncalibrated, 200)
  bool Calibrated = true;
  int32_t Baseline = 0;  // the ADC value of 0 physical units (default: the ADC zero)
  std::string Units = "mV";
  int AdcResolution = 0;  // bits, 0 when not given
  int32_t AdcZero = 0;
  int32_t InitialValue = 0;
  int32_t Checksum = 0;
  bool ChecksumGiven = false;
  std::string Description;  // the signal's name
};

struct SWfdbHeader {
  std::string RecordName;
  double Rate = 250;         // samples per second and signal
  uint64_t SampleCount = 0;  // per signal; 0 when the header does not say
  bool HasTime = false;
  int Hour = 0, Minute = 0;
  double Second = 0;
  bool HasDate = false;
  int Day = 0, Month = 0, Year = 0;
  std::vector<SWfdbSignalSpec> Signals;
  std::vector<std::string> Comments;  // the text after '#', trimmed
};

// Parses the header text. False (nothing else set) with `why` naming the line and what
// is wrong with it; multi-segment records are refused.
bool ParseWfdbHeader(const std::string& text, SWfdbHeader* header, std::string* why);
