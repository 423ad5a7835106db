// ktxscp32._core.analyze: the analysis engine on a record, in place, without the GIL.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace ktxpy {

// Runs the analysis as `scpecg analyze --in-place` does and answers the result code with
// its name and text. ScpFailure when the file system refused the file (missing, no
// access, full disk); the engine's own outcomes are results, not exceptions.
pybind11::dict AnalyzeRecord(const std::string& path, const std::string& language,
                             bool shortAnalysis, bool text, bool patientWarning);

}  // namespace ktxpy
