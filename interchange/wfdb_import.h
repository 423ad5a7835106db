// WFDB records as signal sets: ADC units to microvolts with each signal's gain,
// baseline and units; the lead names mapped; the header comments read for age, sex
// and the rest kept.
#pragma once

#include <string>

#include "interchange/import_options.h"
#include "interchange/signal_set.h"

// Reads the record `path` names (see ReadWfdbRecord) into `set`: the leads options.Leads
// chooses, or every signal whose units are a voltage (the others left out with a note).
// options.Gain replaces the header's gains. False with `why` (and a Win32 code).
bool ImportWfdb(const std::string& path, const SImportOptions& options, SSignalSet* set,
                std::string* why);
