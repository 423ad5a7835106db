// LUDB's diagnoses against the engine's statements: which records carry a diagnosis
// and which statement codes say it.
#pragma once

#include <cstdint>
#include <vector>

#include "ludb_record.h"

namespace accuracy {

struct DiagnosisRow {
  const char* Name;
  bool (*Has)(const LudbRecord&);
  std::vector<uint16_t> Codes;  // any of them states the diagnosis
};

// The rows of the statement table, the normal ECG first.
const std::vector<DiagnosisRow>& DiagnosisRows();
// Statement codes for which no record of the set carries a diagnosis: how often they
// are stated all the same.
const std::vector<uint16_t>& StatementsWithoutDiagnosis();

// Sinus rhythm (regular or not, any rate) with no pacing: the records the delineation
// targets are measured on.
bool IsSinusNotPaced(const LudbRecord& record);
bool IsNormal(const LudbRecord& record);
bool IsFibrillationOrFlutter(const LudbRecord& record);
bool IsPaced(const LudbRecord& record);

}  // namespace accuracy
