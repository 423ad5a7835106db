// What export and plot assume of samples that the record leaves open: their scale when
// the AVM is 0, and whether 2032-2034 mark lead errors or are signal.
#pragma once

#include <string>

#include "reader/reader.h"

namespace scpecg {

// nV per unit taken for an AVM of 0: a stored unit read as one microvolt.
constexpr uint16_t kAssumedAvm = 1000;

// Gives `data` the assumed AVM when it states 0; the warning to print, else "".
std::string AssumeScaleWhenNone(const std::string& file, const char* what, SEncodedData& data);

// Whether Section 1 names this system as the record's creator or modifier.
bool NamesThisSystem(const CGeneralInfo& general);

// Whether the record's writer uses 2032-2034 as lead-error markers: this system, named
// as creator or modifier, or a writer that left a lead error table.
bool WriterUsesMarkers(const CReader& reader);

// Whether any rhythm sample takes one of the marker values.
bool HoldsMarkerValues(const SEncodedData& data);

// "2032-2034 read as signal: ...", for a record whose writer does not use markers.
std::string SignalNote(const std::string& file, const CReader& reader);

}  // namespace scpecg
