#include "interchange/edf_export.h"

#include <edflib.h>

#include <algorithm>
#include <cmath>

#include "platform/errors.h"
#include "record/codes.h"

namespace {

constexpr int kDigitalMin = -32768;
constexpr int kDigitalMax = 32767;
constexpr int kMaxAnnotationSignals = 64;
constexpr long long kTenthsOfMs = 10000;  // EDFlib's annotation time unit: 100 us

bool Fail(std::string* why, const std::string& message) {
  *why = message;
  return plat::FailWith(plat::kErrInvalidData);
}

// The data record: `samples` samples of each signal lasting `micros` microseconds.
struct DataRecord {
  int Samples = 0;
  long long Micros = 0;
};

// One second when the rate is whole and divides the length; else the most samples up
// to a second that divide the length and last whole microseconds EDFlib can state
// (1 us to 10 ms, or multiples of 10 us up to 60 s).
bool ChooseDataRecord(size_t length, uint16_t interval, DataRecord* record) {
  const double rate = ExportRate(interval);
  if (rate == std::floor(rate) && rate >= 1 && length % static_cast<size_t>(rate) == 0) {
    *record = {static_cast<int>(rate), 1000000};
    return true;
  }
  const size_t most = std::max<size_t>(1, static_cast<size_t>(1e6 / interval));
  for (size_t n = std::min(most, length); n >= 1; --n) {
    const long long micros = static_cast<long long>(n) * interval;
    if (length % n == 0 && (micros < 10000 || micros % 10 == 0) && micros <= 60000000) {
      *record = {static_cast<int>(n), micros};
      return true;
    }
  }
  return false;
}

bool SetDuration(int handle, const DataRecord& record) {
  if (record.Micros == 1000000) return true;  // EDFlib's default
  if (record.Micros < 10000) {
    return edf_set_micro_datarecord_duration(handle, static_cast<int>(record.Micros)) == 0;
  }
  return edf_set_datarecord_duration(handle, static_cast<int>(record.Micros / 10)) == 0;
}

// EDF header fields are printable ASCII; EDFlib folds Latin-1 letters itself.
std::string Printable(const std::string& utf8) {
  std::string out;
  for (unsigned char c : utf8) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '_';
  return out;
}

bool SetHeader(int handle, const SExportRecord& record) {
  std::string name = record.LastName;
  if (!record.FirstName.empty()) name += (name.empty() ? "" : ", ") + record.FirstName;
  bool ok = edf_set_patientname(handle, Printable(name).c_str()) == 0 &&
            edf_set_patientcode(handle, Printable(record.PatientId).c_str()) == 0 &&
            edf_set_equipment(handle, Printable(record.Device).c_str()) == 0 &&
            edf_set_admincode(handle, Printable(record.RecordingId).c_str()) == 0;
  if (record.Gender == kSexMale || record.Gender == kSexFemale) {
    ok = ok && edf_set_gender(handle, record.Gender == kSexMale ? 1 : 0) == 0;
  }
  if (record.BirthYear >= 1800 && record.BirthMonth >= 1 && record.BirthDay >= 1) {
    ok = ok && edf_set_birthdate(handle, record.BirthYear, record.BirthMonth, record.BirthDay) == 0;
  }
  // EDF cannot say "unknown": an unknown start is written as EDF's first date, 1985-01-01.
  const SDateTime& when = record.Acquired;
  const bool known = when.Year >= 1985 && when.Year <= 2084 && when.Month >= 1 && when.Day >= 1;
  return ok && edf_set_startdatetime(handle, known ? when.Year : 1985, known ? when.Month : 1,
                                     known ? when.Day : 1, when.Hour % 24, when.Minute % 60,
                                     when.Second % 60) == 0;
}

bool SetSignals(int handle, const SExportRecord& record, const DataRecord& data) {
  const double unit = record.AVM / 1000.0;  // microvolts per digital unit
  for (size_t i = 0; i < record.Leads.size(); ++i) {
    const int signal = static_cast<int>(i);
    if (edf_set_samplefrequency(handle, signal, data.Samples) != 0 ||
        edf_set_physical_maximum(handle, signal, kDigitalMax * unit) != 0 ||
        edf_set_physical_minimum(handle, signal, kDigitalMin * unit) != 0 ||
        edf_set_digital_maximum(handle, signal, kDigitalMax) != 0 ||
        edf_set_digital_minimum(handle, signal, kDigitalMin) != 0 ||
        edf_set_label(handle, signal, Printable(record.Leads[i].Name).c_str()) != 0 ||
        edf_set_physical_dimension(handle, signal, "uV") != 0) {
      return false;
    }
  }
  return true;
}

bool WriteSamples(int handle, const SExportRecord& record, const DataRecord& data) {
  const size_t length = record.Leads.front().Samples.size();
  const auto per = static_cast<size_t>(data.Samples);
  std::vector<short> block(per * record.Leads.size());
  for (size_t start = 0; start < length; start += per) {
    for (size_t lead = 0; lead < record.Leads.size(); ++lead) {
      const SExportLead& source = record.Leads[lead];
      for (size_t k = 0; k < per; ++k) {
        const size_t at = start + k;
        block[lead * per + k] = IsInvalidSample(record, source, at)
                                    ? static_cast<short>(kDigitalMin)
                                    : source.Samples[at];
      }
    }
    if (edf_blockwrite_digital_short_samples(handle, block.data()) != 0) return false;
  }
  return true;
}

bool WriteAnnotations(int handle, const SExportRecord& record) {
  for (const std::string& line : record.Interpretation) {
    if (edfwrite_annotation_utf8(handle, 0, -1, line.c_str()) != 0) return false;
  }
  for (const SQrsBeat& beat : record.Beats) {
    const auto onset = std::llround(static_cast<double>(beat.Sample) * record.SampleInterval /
                                    (1e6 / kTenthsOfMs));
    const std::string text = beat.Type == 0 ? "N" : "Q (type " + std::to_string(beat.Type) + ")";
    if (edfwrite_annotation_utf8(handle, onset, -1, text.c_str()) != 0) return false;
  }
  return true;
}

}  // namespace

bool ExportEdf(const std::string& path, const SExportRecord& record, std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    if (record.Leads.empty() || record.Leads.front().Samples.empty()) {
      return Fail(why, "no samples to export");
    }
    const size_t length = record.Leads.front().Samples.size();
    DataRecord data;
    if (!ChooseDataRecord(length, record.SampleInterval, &data)) {
      return Fail(why, "no EDF data record fits " + std::to_string(length) + " samples");
    }
    const int handle = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS,
                                              static_cast<int>(record.Leads.size()));
    if (handle < 0) {
      *why = path + ": cannot be written";
      return plat::FailWith(handle == EDFLIB_NO_SUCH_FILE_OR_DIRECTORY ? plat::kErrPathNotFound
                                                                       : plat::kErrAccessDenied);
    }
    // Annotations are stored in the data records, one per annotation signal of each.
    const size_t records = length / static_cast<size_t>(data.Samples);
    const size_t annotations = record.Beats.size() + record.Interpretation.size();
    const auto signals =
        static_cast<int>(std::min<size_t>(kMaxAnnotationSignals, annotations / records + 1));
    const bool written = SetDuration(handle, data) && SetSignals(handle, record, data) &&
                         SetHeader(handle, record) &&
                         edf_set_number_of_annotation_signals(handle, signals) == 0 &&
                         WriteSamples(handle, record, data) && WriteAnnotations(handle, record);
    if (edfclose_file(handle) != 0 || !written) {
      return Fail(why, path + ": EDFlib refused the record");
    }
    return true;
  });
}
