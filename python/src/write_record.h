// ktxscp32._core's functions that write records: create from microvolts, edit header
// fields, derive the limb leads, and the CRC check. Each works on the file in place
// with the GIL released and throws ScpFailure with the library's code on failure.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ktxpy {

// The patient fields a host may give; unset ones keep the default (or the file's).
struct PatientFields {
  std::optional<std::u16string> PatientId, LastName, FirstName;
  std::optional<std::vector<unsigned>> Birth;  // year, month, day
  std::optional<uint8_t> Sex;                  // 0 unknown, 1 male, 2 female, 9 unspecified
  std::optional<uint16_t> HeightMm;
  std::optional<uint32_t> WeightG;
};

// Writes `path` from `microvolts` (leads x samples, C order, NaN marks an invalid sample)
// with the marker-safe scaling of scpecg import; answers the AVM and how many samples
// were moved off marker values and were invalid.
pybind11::dict CreateRecord(const std::string& path, const pybind11::array_t<double>& microvolts,
                            double rate, const std::vector<uint8_t>& leadCodes,
                            const std::optional<PatientFields>& patient, uint16_t avm);

// One header text field ("comment", "interpretation", "location", "recording_id",
// "recording_app", "recording_version", "interpretation_app", "interpretation_version",
// "overreading_physician", "interpretation_physician", "recording_physician"); None
// clears it.
void EditText(const std::string& path, const std::string& field,
              const std::optional<std::u16string>& text);
void EditConfirmed(const std::string& path, bool confirmed);
void EditReceived(const std::string& path, const std::vector<unsigned>& when);  // y m d h m s
void EditPatient(const std::string& path, const PatientFields& fields);

// Adds III, aVR, aVL and aVF where missing and rebuilds the lead errors.
void DeriveLeads(const std::string& path);
// The CRC verdict: true valid, false invalid; ScpFailure when none could be reached.
bool CheckRecord(const std::string& path);

// The names of the lead codes (LeadLabel), and the code of a name (0 unknown).
std::string LeadName(uint8_t code);
uint8_t LeadCode(const std::string& name);

}  // namespace ktxpy
