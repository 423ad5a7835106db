#include "interchange/edf_import.h"

#include <edflib.h>

#include <memory>

#include "interchange/lead_names.h"
#include "interchange/source_units.h"
#include "interchange/text_fields.h"
#include "platform/errors.h"
#include "record/codes.h"

namespace {

using ktx::interchange::Trim;

bool Fail(std::string* why, const std::string& message, uint32_t code = plat::kErrInvalidData) {
  *why = message;
  return plat::FailWith(code);
}

std::string OpenError(int error) {
  switch (error) {
    case EDFLIB_NO_SUCH_FILE_OR_DIRECTORY:
      return "no such file";
    case EDFLIB_FILE_CONTAINS_FORMAT_ERRORS:
    case EDFLIB_FILE_READ_ERROR:
      return "not a valid EDF or EDF+ file";
    case EDFLIB_FILE_IS_DISCONTINUOUS:
      return "a discontinuous EDF+ file (EDF+D): only continuous recordings are read";
    case EDFLIB_FILE_ALREADY_OPENED:
      return "already opened";
    case EDFLIB_MALLOC_ERROR:
      return "out of memory";
    default:
      return "cannot be read (EDFlib error " + std::to_string(error) + ")";
  }
}

uint32_t OpenErrorCode(int error) {
  if (error == EDFLIB_NO_SUCH_FILE_OR_DIRECTORY) return plat::kErrFileNotFound;
  if (error == EDFLIB_MALLOC_ERROR) return plat::kErrOutOfMemory;
  return plat::kErrInvalidData;
}

// EDF+ writes blanks in names as underscores.
std::string Spaced(const std::string& text) {
  std::string spaced = Trim(text);
  for (char& c : spaced) {
    if (c == '_') c = ' ';
  }
  return spaced;
}

std::string NotAVoltage(const std::string& name, const char* units) {
  return name + " is in '" + Trim(units) + "', not a voltage";
}

std::string LeftOut(int signal, const std::string& name, const char* units) {
  return "left out signal " + std::to_string(signal + 1) + " (" + name + "): its units '" +
         Trim(units) + "' are not a voltage";
}

std::string OtherRate(int signal, const std::string& name, double rate, const std::string& first,
                      double firstRate) {
  return "signal " + std::to_string(signal + 1) + " (" + name + ") is sampled at " +
         ktx::interchange::ShortNumber(rate) + " Hz, " + first + " at " +
         ktx::interchange::ShortNumber(firstRate) + " Hz: choose leads of one rate with --leads";
}

void ReadSourceInfo(const edf_hdr_struct& header, SSourceInfo* source) {
  source->Acquired.Year = static_cast<uint16_t>(header.startdate_year);
  source->Acquired.Month = static_cast<uint16_t>(header.startdate_month);
  source->Acquired.Day = static_cast<uint16_t>(header.startdate_day);
  source->Acquired.Hour = static_cast<uint16_t>(header.starttime_hour);
  source->Acquired.Minute = static_cast<uint16_t>(header.starttime_minute);
  source->Acquired.Second = static_cast<uint16_t>(header.starttime_second);
  source->TimeKnown = true;
  if (header.filetype == EDFLIB_FILETYPE_EDFPLUS) {
    source->PatientId = Spaced(header.patientcode);
    source->LastName = Spaced(header.patient_name);
    const std::string gender = Trim(header.gender);
    source->Gender = gender == "Male" ? kSexMale : gender == "Female" ? kSexFemale : kSexUnknown;
    source->BirthYear = static_cast<uint16_t>(header.birthdate_year);
    source->BirthMonth = static_cast<uint16_t>(header.birthdate_month);
    source->BirthDay = static_cast<uint16_t>(header.birthdate_day);
    source->RecordName = Spaced(header.admincode);
    source->Device = Spaced(header.equipment);
    for (const char* extra : {header.patient_additional, header.recording_additional}) {
      if (!Trim(extra).empty()) source->Comments.push_back(Spaced(extra));
    }
  } else {
    // Plain EDF has two free-text fields: the patient's identification and the recording's.
    source->PatientId = Trim(header.patient);
    source->Device = Trim(header.recording);
  }
  if (source->Device.empty()) source->Device = "EDF";
}

}  // namespace

bool ImportEdf(const std::string& path, const SImportOptions& options, SSignalSet* set,
               std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    auto header = std::make_unique<edf_hdr_struct>();
    if (edfopen_file_readonly(path.c_str(), header.get(), EDFLIB_DO_NOT_READ_ANNOTATIONS) != 0) {
      return Fail(why, path + ": " + OpenError(header->filetype), OpenErrorCode(header->filetype));
    }
    struct Closer {
      int Handle;
      ~Closer() { edfclose_file(Handle); }
    } closer{header->handle};
    if (header->filetype != EDFLIB_FILETYPE_EDF && header->filetype != EDFLIB_FILETYPE_EDFPLUS) {
      return Fail(why, path + ": a BDF file: only EDF and EDF+ are read");
    }
    SSignalSet read;
    ReadSourceInfo(*header, &read.Source);
    const double recordSeconds =
        static_cast<double>(header->datarecord_duration) / EDFLIB_TIME_DIMENSION;
    std::vector<std::string> names;
    for (int i = 0; i < header->edfsignals; ++i) {
      const std::string label = Trim(header->signalparam[i].label);
      names.push_back(label.empty() ? "signal " + std::to_string(i + 1) : label);
    }
    std::vector<size_t> chosen;
    if (!ChooseLeads(options.Leads, names, &chosen, why)) return Fail(why, path + ": " + *why);
    for (size_t at : chosen) {
      const int i = static_cast<int>(at);
      const edf_param_struct& param = header->signalparam[i];
      const std::string& name = names[at];
      const double perUnit = MicrovoltsPerUnit(param.physdimension);
      if (perUnit == 0 && !options.Leads.empty()) {
        return Fail(why, path + ": " + NotAVoltage(name, param.physdimension));
      }
      if (perUnit == 0) {
        read.Notes.push_back(LeftOut(i, name, param.physdimension));
        continue;
      }
      const double rate = recordSeconds > 0 ? param.smp_in_datarecord / recordSeconds : 0;
      if (read.Signals.empty()) {
        read.Rate = rate;
      } else if (rate != read.Rate) {
        return Fail(why,
                    path + ": " + OtherRate(i, name, rate, read.Signals.front().Name, read.Rate));
      }
      if (param.smp_in_file > static_cast<long long>(INT32_MAX)) {
        return Fail(why, path + ": signal " + std::to_string(i + 1) + " is too long");
      }
      SSignal signal;
      signal.Name = name;
      signal.LeadCode = LeadCodeFromName(signal.Name);
      const int digitalRange = param.dig_max - param.dig_min;
      signal.StepNv =
          digitalRange > 0 ? (param.phys_max - param.phys_min) / digitalRange * perUnit * 1000 : 0;
      if (signal.StepNv < 0) signal.StepNv = -signal.StepNv;
      signal.Microvolts.resize(static_cast<size_t>(param.smp_in_file));
      const int count = static_cast<int>(param.smp_in_file);
      if (count > 0 &&
          edfread_physical_samples(header->handle, i, count, signal.Microvolts.data()) != count) {
        return Fail(why,
                    path + ": the samples of signal " + std::to_string(i + 1) + " cannot be read");
      }
      for (double& value : signal.Microvolts) value *= perUnit;
      read.Signals.push_back(std::move(signal));
    }
    if (read.Signals.empty()) return Fail(why, path + ": no signal is a voltage");
    *set = std::move(read);
    return true;
  });
}
