// The reader object: loading the requested sections into the members, and what it
// answers about them afterwards.
#include "format/sample_sections.h"
#include "format/section1.h"
#include "format/section10.h"
#include "format/section3.h"
#include "format/section7.h"
#include "format/section9.h"
#include "platform/errors.h"
#include "reader/reader.h"

CReader::CReader() {
  Close();
}

CReader::~CReader() {
  Close();
}

void CReader::Close() {
  CloseFile();
  Clear(kAllSections);
  Loaded = 0;
  Index.Count = 0;
  RequiredTags = 0;
}

void CReader::Clear(uint16_t mask) {
  plat::KeepLastError keep;
  if (mask & kSection0) Index.KillData();
  if (mask & kSection1) {
    Recording.SetDefault();
    Patient.SetDefault();
    General.SetDefault();
    LeadErrors.KillData();
    RequiredTags = 0;
  }
  if (mask & kSection3) LeadDefinitions.KillData();
  if (mask & kSection5) {
    Median.KillData();
    HasMedian = 0;
  }
  if (mask & kSection6) {
    Rhythm.KillData();
    HasRhythm = 0;
  }
  if (mask & kSection7) Analysis.Measurements.KillData();
  if (mask & kSection9) Analysis.MorphologyCodes = Analysis.RhythmCodes = 0;
  if (mask & kSection10) LeadMeasurements.KillData();
  // Only Close forgets that the pointer table was read.
  Loaded = static_cast<uint16_t>(Loaded & ~(mask & ~kSection0));
}

bool CReader::Load(const char* name, uint16_t* loaded, uint16_t request) {
  if (loaded != nullptr) *loaded = 0;
  if (name == nullptr || loaded == nullptr || request == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  Close();
  return Open(&File, name, RecordHeader) && LoadSections(loaded, request);
}

bool CReader::LoadMemory(const uint8_t* bytes, size_t size, uint16_t* loaded, uint16_t request) {
  if (loaded != nullptr) *loaded = 0;
  if ((bytes == nullptr && size != 0) || loaded == nullptr || request == 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  Close();
  return OpenMemory(&File, bytes, size, RecordHeader) && LoadSections(loaded, request);
}

bool CReader::LoadSections(uint16_t* loaded, uint16_t request) {
  if (!ReadSectionIndex(File, &Index)) {
    Close();
    return false;
  }
  Loaded |= kSection0;
  if (Index.Count > SSectionIndexes::kMaxFurther) {
    Close();
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  // A table without entries has no first entry for Section 0 either.
  if (Index.Count == 0 || Index.Fixed[0].Id != 0) {
    Close();
    return plat::FailWith(plat::kErrInvalidData);
  }

  uint8_t header[kSectionHeaderSize];
  // Finds the section of `bit` when it is requested and not yet held, and runs `parse`.
  auto load = [&](uint16_t bit, uint16_t id, auto parse) {
    if (!(request & bit) || (Loaded & bit)) return;
    if (FindSection(File, &Index, id, header) && parse()) {
      Loaded |= bit;
    } else {
      Clear(bit);
    }
  };
  load(kSection1, 1, [&] {
    return ParseSection1(File, header, &Patient, &Recording, &LeadErrors, &General, &UnknownTags,
                         &RequiredTags);
  });
  load(kSection3, 3, [&] { return ParseSection3(File, header, &LeadDefinitions); });
  load(kSection6, 6, [&] {
    HasRhythm = ParseSampleData(File, header, &LeadDefinitions, &Rhythm, true) ? 1 : 0;
    return HasRhythm == 1;
  });
  load(kSection5, 5, [&] {
    HasMedian = ParseSampleData(File, header, &LeadDefinitions, &Median, false) ? 1 : 0;
    return HasMedian == 1;
  });
  load(kSection7, 7, [&] { return ParseSection7(File, header, &Analysis.Measurements); });
  load(kSection9, 9, [&] {
    return ParseSection9(File, header, Analysis.RhythmCode, CAnalysisInfo::kMaxRhythmCodes,
                         &Analysis.RhythmCodes, Analysis.MorphologyCode,
                         CAnalysisInfo::kMaxMorphologyCodes, &Analysis.MorphologyCodes);
  });
  load(kSection10, 10, [&] { return ParseSection10(File, header, &LeadMeasurements); });

  *loaded = Loaded;
  CloseFile();
  return true;
}

uint8_t CReader::GetLeadCount() {
  if (!(Loaded & kSection3)) {
    plat::SetLastError(plat::kErrNoData);
    return 0;
  }
  plat::SetLastError(plat::kErrSuccess);
  return LeadDefinitions.Count;
}

SLeadDefinitions* CReader::GetLeadDefinitions() {
  if (!(Loaded & kSection3)) {
    return plat::FailNull(plat::kErrNoData);
  }
  return &LeadDefinitions;
}

bool CReader::HasLeadSet(uint8_t count, const int16_t* ids) {
  if (ids == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (!(Loaded & kSection3)) {
    return plat::FailWith(plat::kErrNoData);
  }
  for (uint8_t i = 0; i < count; ++i) {
    if (LeadDefinitions.GetLeadFromId(ids[i]) == nullptr) {
      return plat::FailWith(plat::kErrSuccess);
    }
  }
  return true;
}

uint8_t CReader::HasRequiredTags() const {
  return (Loaded & kSection1) ? RequiredTags : 0;
}

namespace {

// The member when its section bit is loaded, else null with 232.
template <typename T>
T* IfLoaded(uint16_t loaded, uint16_t bit, T& member) {
  if (loaded & bit) return &member;
  return plat::FailNull(plat::kErrNoData);
}

}  // namespace

CPatientInfo* CReader::LoadedPatient() {
  return IfLoaded(Loaded, kSection1, Patient);
}
CRecordInfo* CReader::LoadedRecording() {
  return IfLoaded(Loaded, kSection1, Recording);
}
SLeadErrors* CReader::LoadedLeadErrors() {
  return IfLoaded(Loaded, kSection1, LeadErrors);
}
CGeneralInfo* CReader::LoadedGeneral() {
  return IfLoaded(Loaded, kSection1, General);
}
CAnalysisInfo* CReader::LoadedAnalysis() {
  return IfLoaded(Loaded, kSection7, Analysis);
}
SLeadMeasurements* CReader::LoadedLeadMeasurements() {
  return IfLoaded(Loaded, kSection10, LeadMeasurements);
}
SEncodedData* CReader::LoadedRhythm() {
  return IfLoaded(Loaded, kSection6, Rhythm);
}
SEncodedData* CReader::LoadedMedian() {
  return IfLoaded(Loaded, kSection5, Median);
}
