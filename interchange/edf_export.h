// Records as EDF+ through EDFlib: one signal per lead in microvolts, the beats and the
// interpretation as annotations.
#pragma once

#include <string>

#include "interchange/export_record.h"

// Writes `path` as continuous EDF+: each lead a signal "uV" whose digital values are
// the stored samples (physical = digital x AVM / 1000; lead error markers written as
// the digital minimum, which readers take as out of range); data records of one
// second when the rate is a whole number of hertz and divides the length, else of a
// number of samples that does; patient, start date and time, equipment and recording
// identification from the record; annotations: each beat ("N" for the dominant type,
// "Q (type K)" for the others) at its fiducial point, each interpretation line at 0 s.
// False with `why` (13, or the system's code).
bool ExportEdf(const std::string& path, const SExportRecord& record, std::string* why);
