// CAnalysis: runs the external analysis engine on a working copy of a record and
// carries its measurements, reference beats, statement codes and an interpretation
// text back into the file.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/text.h"
#include "record/engine_abi.h"
#include "writer/writer.h"

// The outcome of CreateAnalysis: the engine's results as it reports them (these names
// are the engine's codes), the negative codes and 13, 14 from the driver itself; 9, 10
// and 12 are reserved, never answered.
enum eSCP32AnalysisResult : int16_t {
  ResultNotText = -6,
  ResultNotFile = -5,
  ResultNotAble = -4,
  ResultNotEmptyAnalysis = -3,
  ResultNotParameter = -2,
  ResultNotFileValid = -1,
  ResultIsSuccess = ktx::abi::kResultOk,
  ResultNotMemory = ktx::abi::kResultNoMemory,
  ResultNotFileOpen = ktx::abi::kResultFileOpen,
  ResultNotFileRead = ktx::abi::kResultFileRead,
  ResultNotFileWrite = ktx::abi::kResultFileWrite,
  ResultNotFileSeek = ktx::abi::kResultFileSeek,
  ResultNotQRS = ktx::abi::kResultNoQrs,
  ResultNotPorT = ktx::abi::kResultNoPOrT,
  ResultNotFileFound = ktx::abi::kResultNoFile,
  ResultNotFileLog = 9,
  ResultNotStringManipulation = 10,
  ResultNotModuleParameters = ktx::abi::kResultBadParameters,
  ResultNotGraphAverages = 12,
  ResultNotAnalyseSignal = ktx::abi::kResultCannotAnalyse,
  ResultNotSignal = ktx::abi::kResultLeadOff,
  ResultNotFileSCP = ktx::abi::kResultNotScp,
};

// The name and the text of a result code; null for a code outside the table.
KTX_API const char* AnalysisResultName(int16_t result);
KTX_API const char* AnalysisResultText(int16_t result);

// The language module of index 0-6, null above.
KTX_API const char* LanguageModuleName(uint32_t language);

// Driver statements: string identifiers in the language modules.
enum : int32_t {
  kStatementLeadBit1 = 5001,  // marker 2033 in the rhythm
  kStatementLeadBit0 = 5002,  // marker 2032 in the rhythm
  kStatementLeadBit2 = 5003,  // marker 2034 in the rhythm, after a successful analysis
  kStatementNoQrs = 5004,     // engine result 6
  kStatementNoPorT = 5005,    // engine result 7
  kStatementPatient = 5006,   // incomplete demographic data
  kStatementCodeBase = 1000,  // string 1000 + code: the text of statement `code`
};

class KTX_API CAnalysis : public CWriter {
 public:
  CAnalysis();
  ~CAnalysis() override;
  // The writer part as CWriter copies it, and the three flags (always copied).
  CAnalysis(const CAnalysis& source);
  CAnalysis& operator=(const CAnalysis& source);

  void SelectWriter(const plat::OleChar* application, const plat::OleChar* version);

  // Runs the analysis on `fileName` (language 0-6; the short analysis on request).
  int16_t CreateAnalysis(const char* fileName, int32_t language, bool shortAnalysis);
  // Drops Sections 4, 5, 7, 9 and 10; every other section stays byte for byte.
  bool RemoveAnalysisData(const char* fileName);

  bool GenerateAnalysisText = false;
  bool GeneratePatientWarningText = false;
  bool ShortStatementPrefix = false;

 protected:
  // Rebuilds Section 1 in update mode, keeps every other section.
  bool UpdateTagDependants(const char* fileName);
  // Adds the missing leads II and V1 to V6 derived from II or I.
  bool CreateVLeads(const char* fileName);
  // Carries Sections 4, 5, 7, 9 and 10 (and the text, when transferText) of
  // workingCopy into fileName, in fileName's lead order.
  bool TransferAnalysis(const char* fileName, const char* workingCopy, bool transferText);
  // Section 10 from LeadMeasurements into the next store entry.
  bool CreateSec10();

  // The interpretation text: string stringId alone, appended as a new line, or the
  // texts of the Section 9 statement codes.
  bool CreateInterpretationText(const char* fileName, int32_t language, int32_t stringId);
  bool AddInterpretationText(const char* fileName, int32_t language, int32_t stringId);
  bool CreateInterpretationCodesText(const char* fileName, int32_t language);

 private:
  // Store entries for `sections` sections besides Section 0.
  bool ReserveEntries(uint32_t sections);
  // Copies, in index order, every section of the open file whose number `keep`
  // accepts; a number listed twice is kept once.
  bool StoreKept(bool (*keep)(uint16_t id));
};
