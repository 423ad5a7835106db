// Any bytes as an SCP-ECG record, read from memory by the file road (a memory file
// behind the same file calls): loading every section, deriving leads, the CRC check
// and the stand-alone reads' parses must fail cleanly or succeed, never crash or leak.
#include <cstdint>

#include "format/sample_sections.h"
#include "format/section1.h"
#include "format/section3.h"
#include "format/section7.h"
#include "format/section9.h"
#include "reader/reader.h"

namespace {

// CheckCrc, ReadPatient, ReadAnalysis and ReadMedian on an open record.
void StandAloneReads(plat::FileHandle file, const uint8_t* recordHeader,
                     const SSectionIndexes& index) {
  bool valid = false;
  CReader::VerifyCrc(file, &valid, recordHeader, &index);
  uint8_t header[CReader::kSectionHeaderSize];
  CPatientInfo patient;
  CRecordInfo recording;
  if (CReader::FindSection(file, &index, 1, header)) {
    ParseSection1(file, header, &patient, &recording, nullptr, nullptr, nullptr, nullptr);
  }
  CAnalysisInfo analysis;
  if (CReader::FindSection(file, &index, 7, header) &&
      ParseSection7(file, header, &analysis.Measurements) &&
      CReader::FindSection(file, &index, 9, header)) {
    ParseSection9(file, header, analysis.RhythmCode, CAnalysisInfo::kMaxRhythmCodes,
                  &analysis.RhythmCodes, analysis.MorphologyCode,
                  CAnalysisInfo::kMaxMorphologyCodes, &analysis.MorphologyCodes);
  }
  SLeadDefinitions leads;
  SEncodedData median;
  if (CReader::FindSection(file, &index, 3, header) && ParseSection3(file, header, &leads) &&
      CReader::FindSection(file, &index, 5, header)) {
    ParseSampleData(file, header, &leads, &median, false);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CReader reader;
  uint16_t loaded = 0;
  if (reader.LoadMemory(data, size, &loaded, kAllSections)) {
    reader.GenerateCalculatedLeads();
    reader.GenerateLeadErrors();
  }
  plat::FileHandle file = plat::kClosedFile;
  uint8_t recordHeader[CReader::kRecordHeaderSize];
  SSectionIndexes index;
  if (CReader::OpenMemory(&file, data, size, recordHeader)) {
    if (CReader::ReadSectionIndex(file, &index)) StandAloneReads(file, recordHeader, index);
    plat::CloseFile(file);
  }
  return 0;
}
