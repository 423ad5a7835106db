// The analysis driver: checks the record, removes earlier results, runs the engine on
// a working copy in the user's documents folder and carries the results back.
#include <new>

#include "analysis/analysis.h"
#include "analysis/working_copy.h"
#include "platform/errors.h"
#include "platform/file.h"
#include "platform/module.h"
#include "record/engine_abi.h"

namespace {

constexpr uint16_t kRequiredSections = kSection1 | kSection3 | kSection6;
constexpr uint16_t kErrorBit0 = 0x1;  // marker 2032
constexpr uint16_t kErrorBit1 = 0x2;  // marker 2033
constexpr uint16_t kErrorBit2 = 0x4;  // marker 2034

// The engine module and the working copy of one analysis: whatever path the
// analysis leaves by, the module is released and the copy deleted.
class EngineRun {
 public:
  EngineRun() = default;
  ~EngineRun() {
    plat::KeepLastError keep;
    Release();
  }
  EngineRun(const EngineRun&) = delete;
  EngineRun& operator=(const EngineRun&) = delete;

  bool MakeWorkingCopy() { return copy_.Make(); }
  bool LoadEngine() {
    module_ = plat::LoadModule(ktx::abi::kEngineModule);
    if (module_ == nullptr) return false;
    entry_ =
        reinterpret_cast<ktx::abi::EngineEntry>(plat::FindEntry(module_, ktx::abi::kEngineEntry));
    return entry_ != nullptr;
  }
  uint16_t Call(int32_t mode) const { return entry_(copy_.Name(), mode); }
  void Release() {
    plat::UnloadModule(module_);
    module_ = nullptr;
    entry_ = nullptr;
  }
  const char* Copy() const { return copy_.Name(); }

 private:
  WorkingCopy copy_;  // deleted after the module is released
  plat::ModuleHandle module_ = nullptr;
  ktx::abi::EngineEntry entry_ = nullptr;
};

bool DemographicsComplete(const CPatientInfo& patient) {
  return patient.DayOfBirth != 0 && patient.MonthOfBirth != 0 && patient.YearOfBirth != 0 &&
         patient.Height != 0 && patient.Weight != 0 && patient.Gender != kSexUnknown;
}

}  // namespace

int16_t CAnalysis::CreateAnalysis(const char* fileName, int32_t language, bool shortAnalysis) {
  // The driver's boundary: running out of memory anywhere in it is its own result.
  try {
    if (static_cast<uint32_t>(language) >= ktx::abi::kLanguageCount) return ResultNotParameter;
    // Rebuilding Section 1 writes tags 14, 25 and 26 whatever the file held, so whether
    // the recording names its device, date and time is asked of the file as it came.
    uint16_t loaded = 0;
    const bool hadRequiredTags = Load(fileName, &loaded, kSection1) && HasRequiredTags() != 0;
    Close();
    if (!UpdateTagDependants(fileName)) return ResultNotFileValid;

    if (!Load(fileName, &loaded, kAllSections) ||
        (loaded & kRequiredSections) != kRequiredSections || !hadRequiredTags ||
        LeadDefinitions.Leads == nullptr || LeadDefinitions.Count == 0) {
      Close();
      return ResultNotFileValid;
    }
    if (LeadDefinitions.Count < 2) {
      Close();
      return ResultNotAnalyseSignal;
    }
    const bool fewerThanEight = LeadDefinitions.Count < 8;
    // The markers are read from the rhythm loaded here; removing old results below
    // leaves Sections 3 and 6 as they are.
    uint16_t errorBits = 0;
    if (GenerateLeadErrors()) {
      for (unsigned i = 0; i < LeadErrors.Count; ++i) errorBits |= LeadErrors.Errors[i].ErrorBits;
    }
    Close();
    if ((loaded & kAnalysisSections) != 0 && !RemoveAnalysisData(fileName)) {
      return ResultNotEmptyAnalysis;
    }

    if (errorBits & (kErrorBit0 | kErrorBit1)) {
      int16_t result = ResultNotSignal;
      if (errorBits & kErrorBit0) {
        if (GenerateAnalysisText) {
          result = CreateInterpretationText(fileName, language, kStatementLeadBit0)
                       ? ResultNotSignal
                       : ResultNotText;
        }
      }
      if (errorBits & kErrorBit1) {
        if (GenerateAnalysisText) {
          const bool written =
              (errorBits & kErrorBit0)
                  ? AddInterpretationText(fileName, language, kStatementLeadBit1)
                  : CreateInterpretationText(fileName, language, kStatementLeadBit1);
          result = written ? ResultNotSignal : ResultNotText;
        } else {
          result = ResultNotSignal;
        }
      }
      return result;
    }

    EngineRun run;
    if (!run.MakeWorkingCopy()) return ResultNotFile;
    if (!run.LoadEngine()) return ResultNotAble;
    if (!plat::CopyFileOver(fileName, run.Copy())) return ResultNotFile;

    int16_t result = ResultIsSuccess;
    bool transfer = false;
    if (fewerThanEight && !CreateVLeads(run.Copy())) {
      result = ResultNotFileValid;
    } else {
      result = static_cast<int16_t>(
          run.Call(shortAnalysis ? ktx::abi::kShortAnalysis : ktx::abi::kFullAnalysis));
      if (result == ResultIsSuccess) {
        transfer = true;
        if (GenerateAnalysisText) {
          if (!CreateInterpretationCodesText(run.Copy(), language)) result = ResultNotText;
          if ((errorBits & kErrorBit2) &&
              !AddInterpretationText(run.Copy(), language, kStatementLeadBit2)) {
            result = ResultNotText;
          }
        }
        if (GeneratePatientWarningText) {
          CPatientInfo patient;
          CRecordInfo recording;
          if ((!CReader::ReadPatient(run.Copy(), &patient, &recording) ||
               !DemographicsComplete(patient)) &&
              !AddInterpretationText(run.Copy(), language, kStatementPatient)) {
            result = ResultNotText;
          }
        }
      } else if ((result == ResultNotQRS || result == ResultNotPorT) && GenerateAnalysisText) {
        const int32_t statement = result == ResultNotQRS ? kStatementNoQrs : kStatementNoPorT;
        if (!CreateInterpretationText(fileName, language, statement)) result = ResultNotText;
      }
      run.Release();
    }
    if (transfer && !TransferAnalysis(fileName, run.Copy(), GenerateAnalysisText)) {
      result = ResultNotFile;
    }
    return result;
  } catch (const std::bad_alloc&) {
    Close();
    plat::SetLastError(plat::kErrOutOfMemory);
    return ResultNotMemory;
  }
}
