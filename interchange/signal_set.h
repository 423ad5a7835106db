// What an imported file holds before it becomes a record: every lead in microvolts at
// one sampling rate, and what the file says of the patient and of the recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/general_info.h"

struct SSignal {
  std::string Name;      // as the file names it
  uint8_t LeadCode = 0;  // SCP-ECG lead code, 0 unspecified
  double StepNv = 0;     // the file's amplitude resolution in nanovolts, 0 when unknown
  // One value per sample; NaN for a sample the file marks invalid (stored as lead off).
  std::vector<double> Microvolts;
};

struct SSourceInfo {
  int16_t Age = -1;    // years, -1 unknown
  uint8_t Gender = 0;  // 0 unknown, 1 male, 2 female
  uint16_t BirthYear = 0;
  uint16_t BirthMonth = 0;
  uint16_t BirthDay = 0;
  std::string PatientId;  // texts in UTF-8
  std::string LastName;
  std::string FirstName;
  SDateTime Acquired = {};  // zero year: date unknown; the time may still be known
  bool TimeKnown = false;
  std::string Device;                 // the device or database the recording comes from
  std::string RecordName;             // the file's own name for the recording
  std::vector<std::string> Comments;  // free text for the record's comment, one per line
};

struct SSignalSet {
  double Rate = 0;  // samples per second of every signal
  std::vector<SSignal> Signals;
  SSourceInfo Source;
  // What a reader noticed that the user should hear of (a checksum that disagrees, a
  // signal left out); the file was read nonetheless.
  std::vector<std::string> Notes;

  size_t SampleCount() const { return Signals.empty() ? 0 : Signals.front().Microvolts.size(); }
};
