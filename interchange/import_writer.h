// New records from imported signals, through the writer's creation path: the signals
// become an acquisition event that CWriter::Set copies, then Sections 1, 3 and 6 are
// built and written as for a device acquisition.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/marker_safe_scaling.h"
#include "interchange/signal_set.h"
#include "record/patient_info.h"
#include "writer/writer.h"

class CImportWriter : public CWriter {
 public:
  // Writes `signals` as the record ScpFilename (Sections 0, 1, 3 and 6): each signal a
  // lead of 16-bit samples with its lead code, at the AVM ChooseAvm gives for `avm`
  // (0: chosen), marker-safe (MarkerSafeSample; *scaling says what was moved), all
  // leads recorded simultaneously. Section 1 takes the source's acquisition date and
  // time, device or database (the serial number text), record name (recording
  // identification), age, comments and the names of unspecified leads (the comment),
  // and `pPatInfo`, or the source's patient when it is null; scpecg's own received
  // time and writer identity as every creation.
  // False with `why`: 87 for signals of unequal length, none, or a rate a record cannot
  // state (the sample interval is 1 to 65535 us); 84 for more than 254 leads; 13 for
  // more than 32767 samples per lead; 12 when the writer has a file open; the
  // builder's and the system's codes.
  bool CreateFromSignals(const char* ScpFilename, const SSignalSet& signals,
                         const CPatientInfo* pPatInfo, uint16_t avm, SScaling* scaling,
                         std::string* why);
};

// The same for samples held in arrays (a host's, e.g. numpy's): one vector of
// microvolts per lead, all equally long, NaN for an invalid sample, with the lead
// codes (0 unspecified) and the rate in Hz. The record names no creating application;
// a host that wants its own uses CImportWriter after SelectWriter.
bool CreateFromMicrovolts(const char* ScpFilename, const std::vector<std::vector<double>>& leads,
                          double rate, const std::vector<uint8_t>& leadCodes,
                          const CPatientInfo* pPatInfo, uint16_t avm, SScaling* scaling,
                          std::string* why);

// The patient the source describes (identification, name, sex, birth date).
void SourcePatient(const SSourceInfo& source, CPatientInfo* patient);

// The sample interval in microseconds a record states for `rate` Hz (truncated, as
// every acquisition), or 0 when it cannot state that rate.
uint16_t SampleIntervalFor(double rate);
