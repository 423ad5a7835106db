// ktxscp32._core.read: a whole record as Python objects, waveforms as numpy arrays.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace ktxpy {

// Everything `scpecg show --json` describes (same keys and values for the header
// parts), the decoded rhythm and reference beats in microvolts, Section 4, the
// statement texts in `language` and the CRC verdict. ScpFailure for a file that cannot
// be read or is not a record.
pybind11::dict ReadRecord(const std::string& path, const std::string& language);

}  // namespace ktxpy
