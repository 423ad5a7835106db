// Rhythm statements from the findings: sinus rhythm and its rate bands, or an
// irregular rhythm. The full diagnostic criteria replace this file.
#include "engine/findings.h"
#include "engine/statement_codes.h"

namespace ktx::engine {

Statements Interpret(const Findings& f) {
  Statements s;
  if (f.HeartRate <= 0) {
    s.Rhythm.push_back(code::kUndeterminedRhythm);
  } else if (f.RRIrregularity > 0.15) {
    s.Rhythm.push_back(code::kIrregularRhythm);
  } else if (!f.PWavePresent) {
    s.Rhythm.push_back(code::kUndeterminedRhythm);
  } else if (f.HeartRate < 60) {
    s.Rhythm.push_back(code::kSinusBradycardia);
  } else if (f.HeartRate > 100) {
    s.Rhythm.push_back(code::kSinusTachycardia);
  } else {
    s.Rhythm.push_back(code::kSinusRhythm);
  }
  return s;
}

}  // namespace ktx::engine
