// The contents of a loaded reader as JSON, shared by `show` and the text output.
#pragma once

#include <nlohmann/json.hpp>

#include "reader/reader.h"

namespace scpecg {

using Json = nlohmann::ordered_json;

// UTF-8 for display; a null string gives "".
std::string Utf8(const plat::OleChar* text);

Json PatientJson(const CPatientInfo& patient);
Json RecordingJson(const CRecordInfo& recording);
Json GeneralJson(const CGeneralInfo& general);
Json LeadDefinitionsJson(const SLeadDefinitions& leads);
Json LeadErrorsJson(const SLeadErrors& errors);
Json AnalysisJson(const CAnalysisInfo& analysis, bool withMeasurements, bool withCodes);
Json LeadMeasurementsJson(const SLeadMeasurements& measurements);
// AVM, sample interval and per lead its label, sample count, minimum and maximum.
Json SampleDataJson(const SEncodedData& data, const SLeadDefinitions& leads);

// Renders JSON as indented "key: value" lines for people.
void PrintAsText(std::ostream& out, const Json& value, int indent = 0);

}  // namespace scpecg
