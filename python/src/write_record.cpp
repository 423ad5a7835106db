#include "write_record.h"

#include <pybind11/numpy.h>

#include <map>

#include "failure_place.h"
#include "interchange/import_writer.h"
#include "interchange/lead_names.h"
#include "platform/errors.h"
#include "reader/reader.h"
#include "record/lead_labels.h"
#include "scp_error.h"
#include "writer/writer.h"

namespace py = pybind11;

namespace ktxpy {

namespace {

// The application that writes a file (Section 1 tags 208-211): this package.
void SelectPackageWriter(CWriter& writer) {
  writer.SelectWriter(u"ktxscp32-python", KTX_PYTHON_VERSION);
}

void SetText(plat::Bstr* field, const std::optional<std::u16string>& text) {
  if (!text) return;
  plat::SysFreeString(*field);
  *field = text->empty() ? nullptr : plat::SysAllocString(text->c_str());
}

void ApplyPatient(const PatientFields& fields, CPatientInfo* patient) {
  SetText(&patient->PatientId, fields.PatientId);
  SetText(&patient->LastName, fields.LastName);
  SetText(&patient->FirstName, fields.FirstName);
  if (fields.Birth && fields.Birth->size() == 3) {
    patient->YearOfBirth = static_cast<uint16_t>((*fields.Birth)[0]);
    patient->MonthOfBirth = static_cast<uint16_t>((*fields.Birth)[1]);
    patient->DayOfBirth = static_cast<uint16_t>((*fields.Birth)[2]);
  }
  if (fields.Sex) patient->Gender = *fields.Sex;
  if (fields.HeightMm) patient->Height = *fields.HeightMm;
  if (fields.WeightG) patient->Weight = *fields.WeightG;
}

// Runs `update` on a writer naming this package, without the GIL.
template <typename Update>
void WithWriter(const std::string& path, Update update) {
  bool done = false;
  {
    py::gil_scoped_release release;
    CWriter writer;
    SelectPackageWriter(writer);
    done = update(writer);
  }
  if (!done) {
    // For invalid data, where the record's own bytes are at fault: say where.
    const uint32_t error = plat::LastError();
    ThrowError(error, path + scpecg::FailurePlace(path, error));
  }
}

using TextUpdate = bool (CWriter::*)(const char*, const plat::OleChar*);

}  // namespace

py::dict CreateRecord(const std::string& path, const py::array_t<double>& microvolts, double rate,
                      const std::vector<uint8_t>& leadCodes,
                      const std::optional<PatientFields>& patient, uint16_t avm) {
  if (microvolts.ndim() != 2) throw py::value_error("rhythm must be leads x samples");
  const size_t leads = static_cast<size_t>(microvolts.shape(0));
  const size_t samples = static_cast<size_t>(microvolts.shape(1));
  if (leads != leadCodes.size()) throw py::value_error("one lead name per row of rhythm");
  std::vector<std::vector<double>> signals(leads);
  const auto view = microvolts.unchecked<2>();
  for (size_t i = 0; i < leads; ++i) {
    signals[i].resize(samples);
    for (size_t s = 0; s < samples; ++s) signals[i][s] = view(i, s);
  }
  SScaling scaling;
  std::string why;
  bool created = false;
  {
    py::gil_scoped_release release;
    CPatientInfo info;
    info.SetDefault();
    if (patient) ApplyPatient(*patient, &info);
    SSignalSet set;
    set.Rate = rate;
    for (size_t i = 0; i < leads; ++i) {
      SSignal signal;
      signal.LeadCode = leadCodes[i];
      signal.Microvolts = std::move(signals[i]);
      set.Signals.push_back(std::move(signal));
    }
    CImportWriter writer;
    SelectPackageWriter(writer);
    created = writer.CreateFromSignals(path.c_str(), set, &info, avm, &scaling, &why);
  }
  if (!created) ThrowLastError(why.empty() ? path : path + ": " + why);
  py::dict out;
  out["avm_nv"] = scaling.AVM;
  out["moved_samples"] = scaling.MovedSamples;
  out["invalid_samples"] = scaling.InvalidSamples;
  return out;
}

void EditText(const std::string& path, const std::string& field,
              const std::optional<std::u16string>& text) {
  static const std::map<std::string, TextUpdate> kUpdates = {
      {"comment", &CWriter::UpdateCommentText},
      {"interpretation", &CWriter::UpdateInterpretationText},
      {"location", &CWriter::UpdateRecordingLocation},
      {"recording_id", &CWriter::UpdateRecordingId},
      {"recording_app", &CWriter::UpdateRecordingApp},
      {"recording_version", &CWriter::UpdateRecordingVer},
      {"interpretation_app", &CWriter::UpdateInterpretationApp},
      {"interpretation_version", &CWriter::UpdateInterpretationVer}};
  static const std::map<std::string, int16_t> kPhysicians = {
      {"overreading_physician", 0}, {"interpretation_physician", 1}, {"recording_physician", 2}};
  const plat::OleChar* value = text && !text->empty() ? text->c_str() : nullptr;
  if (const auto update = kUpdates.find(field); update != kUpdates.end()) {
    WithWriter(path, [&](CWriter& w) { return (w.*(update->second))(path.c_str(), value); });
  } else if (const auto which = kPhysicians.find(field); which != kPhysicians.end()) {
    WithWriter(path, [&](CWriter& w) {
      return w.UpdatePhysicianName(path.c_str(), which->second, value);
    });
  } else {
    throw py::value_error("not a text field: " + field);
  }
}

void EditConfirmed(const std::string& path, bool confirmed) {
  WithWriter(path, [&](CWriter& w) {
    return w.UpdateInterpretationConfirmed(path.c_str(), confirmed ? 1 : 0);
  });
}

void EditReceived(const std::string& path, const std::vector<unsigned>& when) {
  if (when.size() != 6) throw py::value_error("received needs year, month, day, h, m, s");
  SDateTime at{};
  uint16_t* parts[] = {&at.Year, &at.Month, &at.Day, &at.Hour, &at.Minute, &at.Second};
  for (size_t i = 0; i < 6; ++i) *parts[i] = static_cast<uint16_t>(when[i]);
  WithWriter(path, [&](CWriter& w) { return w.UpdateReceived(path.c_str(), &at); });
}

void EditPatient(const std::string& path, const PatientFields& fields) {
  WithWriter(path, [&](CWriter& w) {
    CPatientInfo patient;
    if (!CReader::ReadPatient(path.c_str(), &patient, nullptr)) {
      if (plat::LastError() != plat::kErrSuccess) return false;
      patient.SetDefault();
    }
    ApplyPatient(fields, &patient);
    return w.UpdateFile(path.c_str(), &patient, nullptr);
  });
}

void DeriveLeads(const std::string& path) {
  WithWriter(path, [&](CWriter& w) { return w.UpdateCalculatedLeads(path.c_str()); });
}

bool CheckRecord(const std::string& path) {
  bool valid = false;
  bool reached = false;
  {
    py::gil_scoped_release release;
    reached = CReader::CheckCrc(path.c_str(), &valid);
  }
  if (!reached) ThrowLastError(path);
  return valid;
}

std::string LeadName(uint8_t code) {
  return LeadLabel(code);
}

uint8_t LeadCode(const std::string& name) {
  return LeadCodeFromName(name);
}

}  // namespace ktxpy
