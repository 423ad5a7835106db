// LUDB records: 12 leads at 500 Hz in microvolts, each lead's own wave marks (onset,
// peak, offset of every P, QRS and T), and the patient's age, sex and diagnoses.
#pragma once

#include <string>
#include <vector>

#include "wfdb.h"

namespace accuracy {

// One marked wave; -1 where its onset or offset is not marked.
struct Wave {
  long Onset = -1, Peak = -1, Offset = -1;
};

struct LeadMarks {
  std::vector<Wave> P, Qrs, T;
};

struct LudbRecord {
  std::string Id;
  WfdbRecord Signals;  // values in microvolts
  int Age = -1;
  char Sex = 'U';
  std::vector<std::string> Diagnoses;  // one header line each ("Rhythm: Sinus rhythm.")
  std::vector<LeadMarks> Leads;        // in the order of the signals
};

// Reads ID.hea, ID.dat and the annotation file of every lead (ID.i ... ID.v6).
bool LoadLudb(const std::string& folder, const std::string& id, LudbRecord* record,
              std::string* error);

// The record as an SCP-ECG file made the way a device's acquisition is: one event of
// 12 simultaneous leads at 1 uV per unit, through the writer's creation.
bool WriteScp(const LudbRecord& record, const std::string& file);

}  // namespace accuracy
