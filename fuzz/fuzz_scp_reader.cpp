// Any bytes as an SCP-ECG file: loading every section, deriving leads, the CRC check
// and the stand-alone reads must fail cleanly or succeed, never crash or leak.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "reader/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      "/tmp/ktx-fuzz-scp-" + std::to_string(std::random_device{}()) + ".scp";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  CReader reader;
  uint16_t loaded = 0;
  if (reader.Load(path.c_str(), &loaded, kAllSections)) {
    reader.GenerateCalculatedLeads();
    reader.GenerateLeadErrors();
  }
  bool valid = false;
  CReader::CheckCrc(path.c_str(), &valid);
  CPatientInfo patient;
  CRecordInfo recording;
  CReader::ReadPatient(path.c_str(), &patient, &recording);
  CAnalysisInfo analysis;
  CReader::ReadAnalysis(path.c_str(), &analysis);
  SEncodedData median;
  CReader::ReadMedian(path.c_str(), &median);
  std::remove(path.c_str());
  return 0;
}
