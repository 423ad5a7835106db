// Stand-alone reads: each opens the named record, reads one item into the caller's
// record and closes the file again.
#include "format/sample_sections.h"
#include "format/section1.h"
#include "format/section10.h"
#include "format/section3.h"
#include "format/section7.h"
#include "format/section9.h"
#include "platform/errors.h"
#include "reader/open_record.h"
#include "reader/reader.h"

namespace {

bool InvalidParameter() {
  return plat::FailWith(plat::kErrInvalidParameter);
}

// Opens the record and positions it at the body of section `id` for `parse`.
template <typename Parse>
bool ReadSection(const char* name, uint16_t id, Parse parse) {
  return WithOpenRecord(
      name, [id, &parse](plat::FileHandle file, const uint8_t*, const SSectionIndexes& index) {
        uint8_t header[CReader::kSectionHeaderSize];
        return CReader::FindSection(file, &index, id, header) && parse(file, header, index);
      });
}

bool ReadSection1(const char* name, CPatientInfo* patient, CRecordInfo* recording,
                  SLeadErrors* errors, CGeneralInfo* general) {
  return ReadSection(name, 1, [&](plat::FileHandle file, const uint8_t* header, auto&) {
    return ParseSection1(file, header, patient, recording, errors, general, nullptr, nullptr);
  });
}

bool ReadLeadTable(const char* name, SLeadDefinitions* leads) {
  return ReadSection(name, 3, [leads](plat::FileHandle file, const uint8_t* header, auto&) {
    return ParseSection3(file, header, leads);
  });
}

// Section 3 sizes the leads of the sample data section `id` (5 or 6).
bool ReadSampleData(const char* name, uint16_t id, SEncodedData* data) {
  return ReadSection(
      name, 3,
      [id, data](plat::FileHandle file, const uint8_t* header, const SSectionIndexes& index) {
        SLeadDefinitions leads;
        uint8_t dataHeader[CReader::kSectionHeaderSize];
        return ParseSection3(file, header, &leads) &&
               CReader::FindSection(file, &index, id, dataHeader) &&
               ParseSampleData(file, dataHeader, &leads, data, id == 6);
      });
}

}  // namespace

bool CReader::ReadPatient(const char* name, CPatientInfo* patient, CRecordInfo* recording) {
  if (name == nullptr || (patient == nullptr && recording == nullptr)) return InvalidParameter();
  return ReadSection1(name, patient, recording, nullptr, nullptr);
}

bool CReader::ReadLeadErrors(const char* name, SLeadErrors* errors) {
  if (name == nullptr || errors == nullptr) return InvalidParameter();
  return ReadSection1(name, nullptr, nullptr, errors, nullptr);
}

bool CReader::ReadGeneral(const char* name, CGeneralInfo* general) {
  if (name == nullptr || general == nullptr) return InvalidParameter();
  return ReadSection1(name, nullptr, nullptr, nullptr, general);
}

bool CReader::ReadAnalysis(const char* name, CAnalysisInfo* analysis) {
  if (name == nullptr || analysis == nullptr) return InvalidParameter();
  return WithOpenRecord(
      name, [analysis](plat::FileHandle file, const uint8_t*, const SSectionIndexes& index) {
        uint8_t header[kSectionHeaderSize];
        analysis->Measurements.KillData();
        if (!FindSection(file, &index, 7, header) ||
            !ParseSection7(file, header, &analysis->Measurements)) {
          return false;
        }
        if (!FindSection(file, &index, 9, header)) {
          // No statements: an analysis without codes.
          analysis->RhythmCodes = analysis->MorphologyCodes = 0;
          analysis->RhythmCode[0] = analysis->MorphologyCode[0] = 0;
          return true;
        }
        return ParseSection9(file, header, analysis->RhythmCode, CAnalysisInfo::kMaxRhythmCodes,
                             &analysis->RhythmCodes, analysis->MorphologyCode,
                             CAnalysisInfo::kMaxMorphologyCodes, &analysis->MorphologyCodes);
      });
}

bool CReader::ReadLeadDefinitions(const char* name, SLeadDefinitions* leads) {
  if (name == nullptr || leads == nullptr) return InvalidParameter();
  return ReadLeadTable(name, leads);
}

int16_t CReader::ReadLeadCount(const char* name) {
  if (name == nullptr) {
    InvalidParameter();
    return 0;
  }
  SLeadDefinitions leads;
  return ReadLeadTable(name, &leads) ? leads.Count : 0;
}

bool CReader::ReadLeadSet(const char* name, uint8_t count, const int16_t* ids) {
  if (name == nullptr || ids == nullptr) return InvalidParameter();
  SLeadDefinitions leads;
  if (!ReadLeadTable(name, &leads)) return false;
  for (uint8_t i = 0; i < count; ++i) {
    if (leads.GetLeadFromId(ids[i]) == nullptr) {
      return plat::FailWith(plat::kErrSuccess);
    }
  }
  return true;
}

bool CReader::ReadLeadMeasurements(const char* name, SLeadMeasurements* measurements) {
  if (name == nullptr || measurements == nullptr) return InvalidParameter();
  return ReadSection(name, 10, [measurements](plat::FileHandle file, const uint8_t* header, auto&) {
    return ParseSection10(file, header, measurements);
  });
}

bool CReader::ReadRhythm(const char* name, SEncodedData* rhythm) {
  if (name == nullptr || rhythm == nullptr) return InvalidParameter();
  return ReadSampleData(name, 6, rhythm);
}

bool CReader::ReadMedian(const char* name, SEncodedData* median) {
  if (name == nullptr || median == nullptr) return InvalidParameter();
  return ReadSampleData(name, 5, median);
}
