// EDF and EDF+ files as signal sets, through EDFlib: physical values with each signal's
// physical and digital range and units; EDF+ patient and recording fields.
#pragma once

#include <string>

#include "interchange/import_options.h"
#include "interchange/signal_set.h"

// Reads `path`: the leads options.Leads chooses, or every signal whose units are a
// voltage (the others left out with a note); they must share one sampling rate.
// Discontinuous EDF+ (EDF+D) and BDF are refused. False with `why` (and a Win32 code).
bool ImportEdf(const std::string& path, const SImportOptions& options, SSignalSet* set,
               std::string* why);
