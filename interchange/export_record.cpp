#include "interchange/export_record.h"

#include <algorithm>
#include <cmath>

#include "platform/errors.h"
#include "platform/little_endian.h"
#include "record/lead_labels.h"

namespace {

std::string Utf8(const plat::OleChar* text) {
  std::string out;
  if (text == nullptr || !plat::WideToUtf8(text, -1, &out)) return std::string();
  return out;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Section 1 tag 4, kept by the reader among the tags no record takes: value, unit.
int AgeOf(const CReader& reader) {
  const SUnknownTags& tags = reader.UnknownTags;
  if (tags.Length[kTagAge] < 3 || tags.Data[kTagAge] == nullptr) return -1;
  const uint8_t* age = tags.Data[kTagAge];
  return age[2] == 1 ? plat::GetLE16(age) : -1;  // years only
}

}  // namespace

double ExportRate(uint16_t interval) {
  if (interval == 0) return 0;
  const double exact = 1e6 / interval;
  const double whole = std::round(exact);
  for (double rate : {whole, whole - 1, whole + 1}) {
    if (rate > 0 && std::floor(1e6 / rate) == interval) return rate;
  }
  return exact;
}

bool GatherExportRecord(const CReader& reader, const SEncodedData& data,
                        const std::vector<SQrsBeat>& beats, SExportRecord* record,
                        std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    if (data.LeadCount == 0 || data.SampleCounts == nullptr || data.LeadSamples == nullptr) {
      *why = "no samples to export";
      return plat::FailWith(plat::kErrNoData);
    }
    if (data.AVM == 0 || data.SampleInterval == 0) {
      *why = "the samples state no AVM or no sample interval";
      return plat::FailWith(plat::kErrInvalidData);
    }
    SExportRecord out;
    out.AVM = data.AVM;
    out.SampleInterval = data.SampleInterval;
    size_t longest = 0;
    for (unsigned i = 0; i < data.LeadCount; ++i) {
      if (data.LeadSamples[i] != nullptr) longest = std::max<size_t>(longest, data.SampleCounts[i]);
    }
    const SLeadDefinitions& definitions = reader.LeadDefinitions;
    for (unsigned i = 0; i < data.LeadCount; ++i) {
      SExportLead lead;
      lead.Name = i < definitions.Count && definitions.Leads != nullptr
                      ? LeadLabel(definitions.Leads[i].LeadId)
                      : "lead " + std::to_string(i + 1);
      const int16_t* samples = data.LeadSamples[i];
      const size_t count = samples != nullptr ? data.SampleCounts[i] : 0;
      if (count > 0) lead.Samples.assign(samples, samples + count);
      lead.Stored = count;
      out.PaddedSamples += longest - count;
      lead.Samples.resize(longest, kMarkerErrorBit0);
      out.Leads.push_back(std::move(lead));
    }
    const CPatientInfo& patient = reader.Patient;
    out.Age = AgeOf(reader);
    out.Gender = patient.Gender;
    out.BirthYear = patient.YearOfBirth;
    out.BirthMonth = patient.MonthOfBirth;
    out.BirthDay = patient.DayOfBirth;
    out.PatientId = Utf8(patient.PatientId);
    out.LastName = Utf8(patient.LastName);
    out.FirstName = Utf8(patient.FirstName);
    const CRecordInfo& recording = reader.Recording;
    out.Acquired = SDateTime{recording.AcquisitionYear,   recording.AcquisitionMonth,
                             recording.AcquisitionDay,    recording.AcquisitionHour,
                             recording.AcquisitionMinute, recording.AcquisitionSecond};
    out.Device = Utf8(recording.SerialNumber);
    out.RecordingId = Utf8(reader.General.RecordingId);
    out.Comment = LinesOf(Utf8(reader.General.CommentText));
    out.Interpretation = LinesOf(Utf8(reader.General.InterpretationText));
    out.Beats = beats;
    *record = std::move(out);
    return true;
  });
}
