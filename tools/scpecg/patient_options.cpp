#include "patient_options.h"

#include <cstdio>

#include "platform/errors.h"
#include "platform/text.h"
#include "record/patient_info.h"
#include "utf8_text.h"

namespace scpecg {

namespace {

bool SetText(plat::Bstr* field, const std::string& text) {
  if (text.empty()) return true;
  plat::WideString wide;
  if (!Utf8ToWide(text, &wide)) {
    plat::SetLastError(plat::kErrInvalidData);
    return false;
  }
  plat::SysFreeString(*field);
  *field = plat::SysAllocString(wide.c_str());
  return *field != nullptr;
}

// YYYY-MM-DD with a plausible month and day.
std::string CheckDate(const std::string& text) {
  unsigned year = 0;
  unsigned month = 0;
  unsigned day = 0;
  char rest = 0;
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                      std::sscanf(text.c_str(), "%4u-%2u-%2u%c", &year, &month, &day, &rest) == 3;
  if (!shaped || month < 1 || month > 12 || day < 1 || day > 31) return "not a date YYYY-MM-DD";
  return std::string();
}

}  // namespace

std::vector<CLI::Option*> AddPatientOptions(CLI::App* command, PatientOptions& options) {
  return {
      command->add_option("--patient-id", options.PatientId, "Patient ID"),
      command->add_option("--last-name", options.LastName, "Patient's last name"),
      command->add_option("--first-name", options.FirstName, "Patient's first name"),
      command->add_option("--birth", options.Birth, "Date of birth, YYYY-MM-DD")
          ->check(CheckDate, "YYYY-MM-DD"),
      command->add_option("--gender", options.Gender, "Patient's sex")
          ->check(CLI::IsMember({"male", "female", "unknown", "unspecified"})),
      command->add_option("--height", options.Height, "Height in millimetres"),
      command->add_option("--weight", options.Weight, "Weight in grams"),
  };
}

bool ApplyPatientOptions(const PatientOptions& options, CPatientInfo* patient) {
  if (!SetText(&patient->PatientId, options.PatientId) ||
      !SetText(&patient->LastName, options.LastName) ||
      !SetText(&patient->FirstName, options.FirstName)) {
    return false;
  }
  if (!options.Birth.empty()) {
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    std::sscanf(options.Birth.c_str(), "%4u-%2u-%2u", &year, &month, &day);
    patient->YearOfBirth = static_cast<uint16_t>(year);
    patient->MonthOfBirth = static_cast<uint16_t>(month);
    patient->DayOfBirth = static_cast<uint16_t>(day);
  }
  if (options.Gender == "unknown") patient->Gender = kSexUnknown;
  if (options.Gender == "male") patient->Gender = kSexMale;
  if (options.Gender == "female") patient->Gender = kSexFemale;
  if (options.Gender == "unspecified") patient->Gender = kSexUnspecified;
  if (options.Height != 0) patient->Height = options.Height;
  if (options.Weight != 0) patient->Weight = options.Weight;
  return true;
}

}  // namespace scpecg
