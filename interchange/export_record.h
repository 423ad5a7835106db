// What the WFDB and EDF exports write, gathered once from a loaded record: equally
// long leads with their names, the scaling, the header data and the analysis's beats
// and interpretation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/qrs_beats.h"
#include "reader/reader.h"
#include "record/codes.h"

struct SExportLead {
  std::string Name;              // the lead's usual name ("I", "V1", "unspecified")
  std::vector<int16_t> Samples;  // as stored; 2032-2034 may mark lead errors
  size_t Stored = SIZE_MAX;      // samples before the padding
};

struct SExportRecord {
  std::vector<SExportLead> Leads;  // equally long (shorter ones padded with 2032)
  uint16_t AVM = 0;                // nanovolts per sample unit
  uint16_t SampleInterval = 0;     // microseconds
  int Age = -1;                    // years, -1 unknown
  uint8_t Gender = 0;              // 0 unknown, 1 male, 2 female, 9 unspecified
  uint16_t BirthYear = 0, BirthMonth = 0, BirthDay = 0;
  std::string PatientId, LastName, FirstName;  // UTF-8
  SDateTime Acquired = {};                     // zero year: unknown
  std::string Device;
  std::string RecordingId;
  std::vector<std::string> Comment;         // its lines
  std::vector<std::string> Interpretation;  // its lines
  std::vector<SQrsBeat> Beats;              // empty unless analysed
  size_t PaddedSamples = 0;                 // added to shorter leads
  bool Markers = true;                      // 2032-2034 mark lead errors, not signal
};

// Gathers `data` (the reader's rhythm or reference beats) and the reader's header
// records. False with 13 and `why` when `data` holds no lead or no AVM or interval.
bool GatherExportRecord(const CReader& reader, const SEncodedData& data,
                        const std::vector<SQrsBeat>& beats, SExportRecord* record,
                        std::string* why);

// The sampling rate of a record whose samples are `interval` us apart: the whole number
// of hertz whose truncated interval that is (360 for 2777), else 1e6 / interval.
double ExportRate(uint16_t interval);

// Whether sample k of `lead` holds no signal: padding, or a lead-error marker of a
// writer that uses them.
inline bool IsInvalidSample(const SExportRecord& record, const SExportLead& lead, size_t k) {
  return k >= lead.Stored || (record.Markers && IsLeadErrorMarker(lead.Samples[k]));
}
