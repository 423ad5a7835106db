// The stages of the interpretation, each the criteria of one field, in the order they
// run: a stage may read what the stages before it stated. The hierarchy then removes
// what another statement explains, orders what is left and sums it up.
#pragma once

#include "engine/findings.h"
#include "engine/statements/statement_list.h"

namespace ktx::engine {

void RhythmCriteria(const Findings& findings, StatementList& out);
void ConductionCriteria(const Findings& findings, StatementList& out);
void ChamberCriteria(const Findings& findings, StatementList& out);
void RepolarisationCriteria(const Findings& findings, StatementList& out);

// At most 3 rhythm and 7 morphology codes, most important first, the last morphology
// code the summary of what is left once explained statements are gone.
Statements Arrange(const StatementList& stated);

}  // namespace ktx::engine
