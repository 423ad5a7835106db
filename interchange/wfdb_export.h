// Records as WFDB: a header, format 16 samples and, for an analysed record, an
// annotation file of its beats.
#pragma once

#include <string>
#include <vector>

#include "interchange/export_record.h"

// Writes BASE.hea and BASE.dat (format 16, gain 1e6 / AVM ADC units per mV, baseline
// 0, lead error markers as WFDB's invalid sample -32768) and, when the record has
// beats, BASE.atr: N for the dominant type, Q with the type as its number for the
// others. The header's comments carry age, sex, the comment and the interpretation.
// `files` receives the names written. False with `why` and the system's code.
bool ExportWfdb(const std::string& base, const SExportRecord& record,
                std::vector<std::string>* files, std::string* why);

// The header text ExportWfdb writes for record `name`.
std::string WfdbHeaderText(const std::string& name, const SExportRecord& record);
