// The scpecg JSON descriptions of record parts, as Python objects: the extension
// answers exactly what `scpecg show --json` prints.
#pragma once

#include <pybind11/pybind11.h>

#include "record_json.h"

namespace ktxpy {

pybind11::object ToPython(const scpecg::Json& value);

}  // namespace ktxpy
