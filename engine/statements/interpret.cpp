// The diagnostic criteria: the findings of one recording to its Section 9 statement
// codes, most important first. Thresholds and their sources are in criteria.h, what
// explains what in hierarchy.cpp.
#include "engine/findings.h"
#include "engine/statements/stages.h"

namespace ktx::engine {

Statements Interpret(const Findings& findings) {
  StatementList stated;
  RhythmCriteria(findings, stated);
  ConductionCriteria(findings, stated);
  ChamberCriteria(findings, stated);
  RepolarisationCriteria(findings, stated);
  return Arrange(stated);
}

}  // namespace ktx::engine
