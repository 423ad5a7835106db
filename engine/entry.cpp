#include <new>

#include "engine/analysis.h"
#include "engine/ktxsys32.h"
#include "engine/record_signal.h"
#include "engine/result_writer.h"
#include "platform/errors.h"

namespace {

using namespace ktx::engine;

void PatientFindings(const CReader& r, Findings& f) {
  f.Sex = r.Patient.Gender == 1 ? 'M' : r.Patient.Gender == 2 ? 'F' : 'U';
  const int year = r.Patient.YearOfBirth, acquired = r.Recording.AcquisitionYear;
  f.AgeYears = (year > 0 && acquired >= year) ? acquired - year : -1;
}

int16_t Run(const char* fileName, int32_t mode) {
  if (fileName == nullptr || *fileName == '\0') return kResultNotScp;
  if (mode != 1 && mode != 2) return kResultBadParameters;
  const bool perLead = mode == 1;
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

extern "C" int16_t KTXSYS_CALL ScpAnalysis32(const char* fileName, int32_t mode) {
  try {
    return Run(fileName, mode);
  } catch (const std::bad_alloc&) {
    return kResultNoMemory;
  } catch (...) {
    return kResultCannotAnalyse;
  }
}
