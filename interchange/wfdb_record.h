// A WFDB record read from disk: its header and every signal's samples in ADC units.
// The importer turns them into microvolts; a harness that wants ADC units uses this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/wfdb_header.h"

struct SWfdbRecord {
  SWfdbHeader Header;
  std::vector<std::vector<int32_t>> Samples;  // per signal, header order, ADC units
  std::vector<std::string> Notes;             // checksums that disagree, and the like
};

// `path` is the header (NAME.hea) or the record's name without it. Signal files are
// looked for beside the header; the signals of one file share its format (16, 212,
// 80, or a MAT v4 .mat whose matrix has a row per signal). A header that gives no
// sample count takes what the files hold. False with `why` (and the system's code for
// a file that cannot be read: `why` then names the file).
bool ReadWfdbRecord(const std::string& path, SWfdbRecord* record, std::string* why);

// The header file `path` names: itself when it ends in ".hea", else path + ".hea".
std::string WfdbHeaderPath(const std::string& path);
