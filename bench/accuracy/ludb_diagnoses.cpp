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
      {"Atrial fibrillation/flutter", IsFibrillationOrFlutter, {5}},
      {"Paced rhythm", IsPaced, {8}},
      {"Complete LBBB",
       [](const LudbRecord& r) { return Begins(r, "complete left bundle"); },
       {41}},
      {"Complete RBBB",
       [](const LudbRecord& r) { return Begins(r, "complete right bundle"); },
       {42}},
      {"Incomplete RBBB",
       [](const LudbRecord& r) { return Says(r, "incomplete right bundle"); },
       {43}},
      {"Nonspecific IVCD", [](const LudbRecord& r) { return Says(r, "conduction delay"); }, {40}},
      {"First-degree AV block",
       [](const LudbRecord& r) { return Begins(r, "i degree av block"); },
       {30}},
      {"Left axis deviation",
       [](const LudbRecord& r) { return Says(r, "left axis deviation"); },
       {21}},
      {"Left ventricular hypertrophy",
       [](const LudbRecord& r) { return Says(r, "left ventricular hypertrophy"); },
       {61}},
      {"Ventricular extrasystoles",
       [](const LudbRecord& r) { return Says(r, "ventricular extrasystole"); },
       {6}},
      {"Atrial extrasystoles",
       [](const LudbRecord& r) { return Says(r, "atrial extrasystole"); },
       {7}},
      {"ST elevation (STEMI, early repol.)",
       [](const LudbRecord& r) { return Begins(r, "stemi:") || Says(r, "early repolarization"); },
       {70, 71, 72}},
  };
  return rows;
}

}  // namespace accuracy
