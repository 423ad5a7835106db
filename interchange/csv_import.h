// CSV files as signal sets: a header row of lead names, then one row per sample, one
// column per lead, in microvolts or millivolts, at a rate the caller gives.
#pragma once

#include <cstdint>
#include <string>

#include "interchange/import_options.h"
#include "interchange/signal_set.h"

// Parses CSV text at options.Rate, values times options.MicrovoltsPerUnit, the leads
// options.Leads chooses: fields separated by commas (or, when the header row has none, by
// semicolons or tabs), names optionally quoted, a UTF-8 byte order mark allowed. A
// first column named time, t, sample or index is left out (with a note). Every row
// has a value in every column; "nan" marks an invalid sample. False with `why`
// naming the row and column.
bool ParseCsvSignals(const std::string& text, const SImportOptions& options, SSignalSet* set,
                     std::string* why);
// Reads and parses the file `path`; its name becomes the record name.
bool ImportCsv(const std::string& path, const SImportOptions& options, SSignalSet* set,
               std::string* why);
