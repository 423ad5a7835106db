#include "plot/header_text.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "platform/text.h"

namespace scpecg::plot {

namespace {

// Values an analysis leaves when it could not measure.
constexpr int kUndefined = 29999;

std::string Utf8(const plat::OleChar* text) {
  std::string out;
  if (text != nullptr && !plat::WideToUtf8(text, -1, &out)) return "?";
  return out;
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  // va_start above initialises args; the analyzer of clang 14 misses it.
  std::vsnprintf(text, sizeof text, format, args);  // NOLINT(clang-analyzer-valist.Uninitialized)
  va_end(args);
  return text;
}

std::string Value(int value, const char* unit) {
  return value == kUndefined ? std::string("-") : std::to_string(value) + unit;
}

// Appends "name value" to a comma-separated list when value is not empty.
void Add(std::string* list, const std::string& name, const std::string& value) {
  if (value.empty()) return;
  if (!list->empty()) *list += ", ";
  *list += name.empty() ? value : name + " " + value;
}

std::string Switches(uint8_t flags) {
  std::string list;
  const uint8_t power = flags & kFilterPowerMask;
  if (power != 0) Add(&list, "mains", power == kFilterPower60Hz ? "60 Hz" : "50 Hz");
  if (flags & kFilterBaseline) Add(&list, "", "baseline");
  if (flags & kFilterMuscle) Add(&list, "", "muscle");
  return list.empty() ? "none" : list;
}

std::string PatientLine(const CReader& reader) {
  if (!(reader.Loaded & kSection1)) return "Patient: not recorded";
  const CPatientInfo& p = reader.Patient;
  std::string name = Utf8(p.LastName);
  const std::string first = Utf8(p.FirstName);
  if (!first.empty()) name += name.empty() ? first : ", " + first;
  std::string line = "Patient: " + (name.empty() ? "-" : name);
  const std::string id = Utf8(p.PatientId);
  line += "    ID: " + (id.empty() ? "-" : id);
  if (p.YearOfBirth != 0) {
    line += Printf("    Born: %04u-%02u-%02u", p.YearOfBirth, p.MonthOfBirth, p.DayOfBirth);
  }
  if (p.Gender == kSexMale || p.Gender == kSexFemale)
    line += p.Gender == kSexMale ? "    Male" : "    Female";
  return line;
}

std::string AcquisitionLine(const CRecordInfo& r) {
  std::string line = "Acquired: -";
  if (r.AcquisitionYear != 0) {
    line = Printf("Acquired: %04u-%02u-%02u %02u:%02u:%02u", r.AcquisitionYear, r.AcquisitionMonth,
                  r.AcquisitionDay, r.AcquisitionHour, r.AcquisitionMinute, r.AcquisitionSecond);
  }
  std::string device;
  Add(&device, "", Utf8(r.DeviceType));
  Add(&device, "id", std::to_string(r.DeviceID));
  Add(&device, "serial", Utf8(r.SerialNumber));
  Add(&device, "program", Utf8(r.ProgramRevision));
  return line + "    Device: " + device;
}

std::string FilterLine(const CRecordInfo& r) {
  std::string line = "Filters: high-pass ";
  line += r.HighPassCutoff != 0 ? Printf("%.2f Hz", r.HighPassCutoff / 100.0) : "-";
  line += ", low-pass ";
  line += r.LowPassCutoff != 0 ? Printf("%u Hz", r.LowPassCutoff) : "-";
  return line + "; at acquisition: " + Switches(r.FilterFlags) +
         "; on the data: " + Switches(r.DataFilterFlags);
}

std::string SamplingLine(const SEncodedData& data, bool median) {
  unsigned longest = 0;
  for (unsigned i = 0; i < data.LeadCount && data.SampleCounts != nullptr; ++i) {
    longest = std::max<unsigned>(longest, data.SampleCounts[i]);
  }
  const double rate = data.SampleInterval != 0 ? 1e6 / data.SampleInterval : 0.0;
  return Printf("Sampling: %.1f Hz (%u us)    AVM: %u nV    Leads: %u    %s: %u samples", rate,
                data.SampleInterval, data.AVM, data.LeadCount,
                median ? "Reference beats" : "Rhythm", longest);
}

std::string MeasurementLine(const SGlobalMeasurements& m) {
  return "Measurements: RR " + Value(m.AvRRms, " ms") + ", PP " + Value(m.AvPPms, " ms") + ", P " +
         Value(m.POnsetms, "") + "-" + Value(m.POffsetms, " ms") + ", QRS " +
         Value(m.QRSOnsetms, "") + "-" + Value(m.QRSOffsetms, " ms") + ", T end " +
         Value(m.TOffsetms, " ms") + "; axes P " + Value(m.PAxis, "") + ", QRS " +
         Value(m.QRSAxis, "") + ", T " + Value(m.TAxis, "");
}

// From `start` to `end` in ms, "-" unless both were measured.
std::string Span(int start, int end) {
  return start == kUndefined || end == kUndefined ? std::string("-")
                                                  : std::to_string(end - start) + " ms";
}

// What a reader of the ECG looks for first, worked out from the wave boundaries: the
// QT corrected for the heart rate by Bazett's formula.
std::string IntervalLine(const SGlobalMeasurements& m) {
  const bool rr = m.AvRRms != 0 && m.AvRRms != kUndefined;
  const bool qt = m.QRSOnsetms != kUndefined && m.TOffsetms != kUndefined;
  std::string line = "Intervals: heart rate ";
  line += rr ? Printf("%ld/min", std::lround(60000.0 / m.AvRRms)) : "-";
  line += ", P " + Span(m.POnsetms, m.POffsetms) + ", PR " + Span(m.POnsetms, m.QRSOnsetms) +
          ", QRS " + Span(m.QRSOnsetms, m.QRSOffsetms) + ", QT " + Span(m.QRSOnsetms, m.TOffsetms);
  line += ", QTc ";
  line += rr && qt
              ? Printf("%ld ms",
                       std::lround((m.TOffsetms - m.QRSOnsetms) / std::sqrt(m.AvRRms / 1000.0)))
              : "-";
  return line;
}

std::string Codes(const uint16_t* codes, unsigned count) {
  std::string list;
  for (unsigned i = 0; i < count; ++i) Add(&list, "", std::to_string(codes[i]));
  return list.empty() ? "none" : list;
}

}  // namespace

std::vector<std::string> HeaderLines(const CReader& reader, const SEncodedData& data, bool median) {
  std::vector<std::string> lines{PatientLine(reader)};
  if (reader.Loaded & kSection1) {
    lines.push_back(AcquisitionLine(reader.Recording));
    lines.push_back(FilterLine(reader.Recording));
  }
  lines.push_back(SamplingLine(data, median));
  if (reader.Loaded & kSection7) {
    lines.push_back(IntervalLine(reader.Analysis.Measurements));
    lines.push_back(MeasurementLine(reader.Analysis.Measurements));
  }
  if (reader.Loaded & kSection9) {
    const CAnalysisInfo& a = reader.Analysis;
    lines.push_back(
        "Statements: rhythm " +
        Codes(a.RhythmCode, std::min<unsigned>(a.RhythmCodes, CAnalysisInfo::kMaxRhythmCodes)) +
        "; morphology " +
        Codes(a.MorphologyCode,
              std::min<unsigned>(a.MorphologyCodes, CAnalysisInfo::kMaxMorphologyCodes)));
  }
  const std::string text = Utf8(reader.General.InterpretationText);
  if ((reader.Loaded & kSection1) && !text.empty()) {
    std::string prefix = "Interpretation: ";
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
      if (end > start) {
        lines.push_back(prefix + text.substr(start, end - start));
        prefix = "  ";
      }
      start = end + 1;
    }
  }
  return lines;
}

}  // namespace scpecg::plot
