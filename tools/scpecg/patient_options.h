// The patient options of create and import: identification, names, birth date, sex,
// height and weight.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <vector>

class CPatientInfo;

namespace scpecg {

struct PatientOptions {
  std::string PatientId;
  std::string LastName;
  std::string FirstName;
  std::string Birth;
  std::string Gender;
  uint16_t Height = 0;
  uint32_t Weight = 0;
};

// Adds --patient-id, --last-name, --first-name, --birth, --gender, --height and
// --weight to `command`, and answers them for the caller to tie to other options.
std::vector<CLI::Option*> AddPatientOptions(CLI::App* command, PatientOptions& options);

// The options given put into `patient`; the fields of options not given stay as they
// are. False with 13 for text that is not UTF-8.
bool ApplyPatientOptions(const PatientOptions& options, CPatientInfo* patient);

}  // namespace scpecg
