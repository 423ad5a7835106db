#include "ludb_diagnoses.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace accuracy {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// True when a diagnosis line contains `text` (case ignored).
bool Says(const LudbRecord& r, const char* text) {
  const std::string wanted = Lower(text);
  return std::any_of(r.Diagnoses.begin(), r.Diagnoses.end(), [&](const std::string& line) {
    return Lower(line).find(wanted) != std::string::npos;
  });
}

// True when a diagnosis line begins with `text` (case ignored).
bool Begins(const LudbRecord& r, const char* text) {
  const std::string wanted = Lower(text);
  return std::any_of(r.Diagnoses.begin(), r.Diagnoses.end(), [&](const std::string& line) {
    const size_t from = line.find_first_not_of(" \t");
    return from != std::string::npos && Lower(line.substr(from)).rfind(wanted, 0) == 0;
  });
}

}  // namespace

// Ventricular pacing, or P-synchrony (pacing triggered by the atria).
bool IsPaced(const LudbRecord& r) {
  return Says(r, "ventricular pacing") || Says(r, "p-synchrony");
}

bool IsFibrillationOrFlutter(const LudbRecord& r) {
  return Says(r, "atrial fibrillation") || Says(r, "atrial flutter");
}

bool IsSinusNotPaced(const LudbRecord& r) {
  return (Says(r, "rhythm: sinus") || Says(r, "irregular sinus")) && !IsPaced(r);
}

// Sinus rhythm and nothing else but a normal, vertical or horizontal axis (LUDB's
// normal positions, -30 to +90 degrees).
bool IsNormal(const LudbRecord& r) {
  if (r.Diagnoses.empty()) return false;
  return std::all_of(r.Diagnoses.begin(), r.Diagnoses.end(), [](const std::string& line) {
    const std::string l = Lower(line);
    return l.find("rhythm: sinus rhythm") != std::string::npos ||
           l.find("axis of the heart: normal") != std::string::npos ||
           l.find("axis of the heart: vertical") != std::string::npos ||
           l.find("axis of the heart: horizontal") != std::string::npos ||
           l.find_first_not_of(" \t\r") == std::string::npos;
  });
}

namespace {

bool IsFibrillation(const LudbRecord& r) {
  return Says(r, "atrial fibrillation");
}

bool IsFlutter(const LudbRecord& r) {
  return Says(r, "atrial flutter");
}

}  // namespace

const std::vector<DiagnosisRow>& DiagnosisRows() {
  static const std::vector<DiagnosisRow> rows = {
      {"Normal ECG", IsNormal, {100}},
      {"Sinus rhythm, not paced", IsSinusNotPaced, {1, 2, 3, 4}},
      {"Sinus bradycardia", [](const LudbRecord& r) { return Says(r, "sinus bradycardia"); }, {2}},
      {"Sinus arrhythmia",
       [](const LudbRecord& r) {
         return Says(r, "sinus arrhythmia") || Says(r, "irregular sinus");
       },
       {4}},
      {"Wandering atrial pacemaker",
       [](const LudbRecord& r) { return Says(r, "wandering"); },
       {19}},
      {"Atrial fibrillation", IsFibrillation, {5}},
      {"Atrial flutter", IsFlutter, {11, 12, 13, 14}},
      {"Paced rhythm (ventricular)", IsPaced, {8, 206}},
      {"Third-degree AV block", [](const LudbRecord& r) { return Says(r, "iii degree av"); }, {35}},
      {"First-degree AV block",
       [](const LudbRecord& r) { return Begins(r, "i degree av block"); },
       {30}},
      {"Complete LBBB",
       [](const LudbRecord& r) { return Begins(r, "complete left bundle"); },
       {41}},
      {"Complete RBBB",
       [](const LudbRecord& r) { return Begins(r, "complete right bundle"); },
       {42}},
      {"Incomplete LBBB",
       [](const LudbRecord& r) { return Says(r, "incomplete left bundle"); },
       {44}},
      {"Incomplete RBBB",
       [](const LudbRecord& r) { return Says(r, "incomplete right bundle"); },
       {43}},
      {"Nonspecific IVCD", [](const LudbRecord& r) { return Says(r, "conduction delay"); }, {40}},
      {"Left anterior hemiblock",
       [](const LudbRecord& r) { return Says(r, "left anterior hemiblock"); },
       {45}},
      // The hemiblock explains the axis and takes its statement's place.
      {"Left axis deviation",
       [](const LudbRecord& r) { return Says(r, "left axis deviation"); },
       {21, 45}},
      {"Left ventricular hypertrophy",
       [](const LudbRecord& r) { return Says(r, "left ventricular hypertrophy"); },
       {61, 63}},
      {"Left ventricular overload (strain)",
       [](const LudbRecord& r) { return Says(r, "left ventricular overload"); },
       {63}},
      {"Left atrial hypertrophy/overload",
       [](const LudbRecord& r) {
         return Says(r, "left atrial hypertrophy") || Says(r, "left atrial overload");
       },
       {65}},
      {"Right atrial hypertrophy/overload",
       [](const LudbRecord& r) {
         return Says(r, "right atrial hypertrophy") || Says(r, "right atrial overload");
       },
       {66}},
      {"Ventricular extrasystoles",
       [](const LudbRecord& r) { return Says(r, "ventricular extrasystole"); },
       {6, 201, 202, 203, 204}},
      {"Ventricular couplet", [](const LudbRecord& r) { return Says(r, "type: couplet"); }, {203}},
      {"Atrial extrasystoles",
       [](const LudbRecord& r) { return Says(r, "atrial extrasystole"); },
       {7}},
      {"STEMI", [](const LudbRecord& r) { return Begins(r, "stemi:"); }, {70, 71, 72, 76, 77, 78}},
      {"Early repolarization",
       [](const LudbRecord& r) { return Says(r, "early repolarization"); },
       {81}},
      {"Ischaemia (ST depression)",
       [](const LudbRecord& r) { return Begins(r, "ischemia:"); },
       {73, 74, 75, 79}},
      {"Posterior wall (scar, ischaemia)",
       [](const LudbRecord& r) { return Says(r, "posterior wall") && !Says(r, "non-specific"); },
       {79}},
      {"Scar (old infarction)",
       [](const LudbRecord& r) { return Begins(r, "scar formation:"); },
       {90, 91, 92}},
      {"Non-specific repolarization abn.",
       [](const LudbRecord& r) { return Says(r, "non-specific repolarization"); },
       {82}},
  };
  return rows;
}

const std::vector<uint16_t>& StatementsWithoutDiagnosis() {
  static const std::vector<uint16_t> codes = {3,  9,  10, 12, 13, 14,  15,  16,  17,
                                              18, 22, 31, 32, 33, 34,  36,  46,  50,
                                              51, 60, 62, 64, 80, 201, 202, 204, 205};
  return codes;
}

}  // namespace accuracy
