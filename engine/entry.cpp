#include <new>

#include "engine/analysis.h"
#include "engine/ktxsys32.h"
#include "engine/record_signal.h"
#include "engine/result_writer.h"
#include "platform/errors.h"

namespace {

using namespace ktx::engine;

void PatientFindings(const CReader& r, Findings& f) {
  f.Sex = r.Patient.Gender == kSexMale ? 'M' : r.Patient.Gender == kSexFemale ? 'F' : 'U';
  const int year = r.Patient.YearOfBirth, acquired = r.Recording.AcquisitionYear;
  f.AgeYears = (year > 0 && acquired >= year) ? acquired - year : -1;
}

int16_t Run(const char* fileName, int32_t mode) {
  if (fileName == nullptr || *fileName == '\0') return kResultNotScp;
  if (mode != ktx::abi::kFullAnalysis && mode != ktx::abi::kShortAnalysis)
    return kResultBadParameters;
  const bool perLead = mode == ktx::abi::kFullAnalysis;
  uint16_t avm = 0;
  Analysis analysis;
  {
    CReader reader;
    uint16_t loaded = 0;
    if (!reader.Load(fileName, &loaded, kAllSections)) {
      const uint32_t error = plat::LastError();
      if (error == plat::kErrFileNotFound || error == plat::kErrPathNotFound) return kResultNoFile;
      return error == plat::kErrInvalidData ? kResultNotScp : kResultFileOpen;
    }
    if ((loaded & (kSection3 | kSection6)) != (kSection3 | kSection6)) return kResultFileRead;
    Signal signal;
    if (!SignalFromRecord(reader, &signal)) return kResultFileRead;
    avm = reader.Rhythm.AVM;
    analysis = Analyse(signal, perLead);
    if (analysis.Result != kResultOk) return analysis.Result;
    PatientFindings(reader, analysis.Found);
  }
  analysis.Codes = Interpret(analysis.Found);
  ResultWriter writer;
  return writer.Write(fileName, analysis, avm, perLead) ? kResultOk : kResultFileWrite;
}

}  // namespace

extern "C" uint16_t KTX_ENGINE_CALL ScpAnalysis32(const char* fileName, int32_t mode) {
  try {
    return static_cast<uint16_t>(Run(fileName, mode));
  } catch (const std::bad_alloc&) {
    return kResultNoMemory;
  } catch (...) {
    return kResultCannotAnalyse;
  }
}
