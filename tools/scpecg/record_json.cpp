#include "record_json.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "platform/text.h"
#include "record/lead_labels.h"
#include "record/record_info.h"

namespace scpecg {

std::string Utf8(const plat::OleChar* text) {
  std::string out;
  if (text != nullptr && !plat::WideToUtf8(text, -1, &out)) return "?";
  return out;
}

namespace {

std::string Date(unsigned year, unsigned month, unsigned day) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, month, day);
  return text;
}

std::string Time(unsigned hour, unsigned minute, unsigned second) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", hour, minute, second);
  return text;
}

const char* SexName(uint8_t code) {
  switch (code) {
    case 0:
      return "unknown";
    case 1:
      return "male";
    case 2:
      return "female";
    case 9:
      return "unspecified";
    default:
      return "other";
  }
}

// The switches users know from a filter bit map.
Json Filters(uint8_t flags) {
  const char* power[] = {"off", "60 Hz", "50 Hz", "50 Hz"};
  return Json{{"baseline", (flags & kFilterBaseline) != 0},
              {"muscle", (flags & kFilterMuscle) != 0},
              {"power", power[flags & kFilterPowerMask]},
              {"bits", flags}};
}

}  // namespace

Json PatientJson(const CPatientInfo& p) {
  return Json{{"last_name", Utf8(p.LastName)},
              {"first_name", Utf8(p.FirstName)},
              {"patient_id", Utf8(p.PatientId)},
              {"birth_date", Date(p.YearOfBirth, p.MonthOfBirth, p.DayOfBirth)},
              {"sex", SexName(p.Gender)},
              {"sex_code", p.Gender},
              {"height_mm", p.Height},
              {"weight_g", p.Weight}};
}

Json RecordingJson(const CRecordInfo& r) {
  return Json{
      {"acquisition_date", Date(r.AcquisitionYear, r.AcquisitionMonth, r.AcquisitionDay)},
      {"acquisition_time", Time(r.AcquisitionHour, r.AcquisitionMinute, r.AcquisitionSecond)},
      {"device_id", r.DeviceID},
      {"device_type", Utf8(r.DeviceType)},
      {"serial_number", Utf8(r.SerialNumber)},
      {"program_revision", Utf8(r.ProgramRevision)},
      {"baseline_cutoff_hz", r.HighPassCutoff / 100.0},
      {"muscle_cutoff_hz", r.LowPassCutoff},
      {"filters_at_acquisition", Filters(r.FilterFlags)},
      {"filters_on_data", Filters(r.DataFilterFlags)}};
}

Json GeneralJson(const CGeneralInfo& g) {
  const SDateTime& t = g.Received;
  return Json{{"received", Date(t.Year, t.Month, t.Day) + " " + Time(t.Hour, t.Minute, t.Second)},
              {"interpretation_confirmed", g.InterpretationConfirmed != 0},
              {"interpretation_modified", g.InterpretationModified != 0},
              {"interpretation_text", Utf8(g.InterpretationText)},
              {"comment", Utf8(g.CommentText)},
              {"overreading_physician", Utf8(g.OverreadingPhysician)},
              {"interpretation_physician", Utf8(g.InterpretationPhysician)},
              {"recording_physician", Utf8(g.RecordingPhysician)},
              {"recording_location", Utf8(g.RecordingLocation)},
              {"recording_id", Utf8(g.RecordingId)},
              {"interpretation_app", Utf8(g.InterpretationApp)},
              {"interpretation_version", Utf8(g.InterpretationVer)},
              {"recording_app", Utf8(g.RecordingApp)},
              {"recording_version", Utf8(g.RecordingVer)},
              {"creator_app", Utf8(g.CreatorApp)},
              {"creator_version", Utf8(g.CreatorVer)},
              {"modifier_app", Utf8(g.ModifierApp)},
              {"modifier_version", Utf8(g.ModifierVer)}};
}

Json LeadDefinitionsJson(const SLeadDefinitions& leads) {
  Json list = Json::array();
  for (unsigned i = 0; i < leads.Count && leads.Leads != nullptr; ++i) {
    const SLeadDef& lead = leads.Leads[i];
    list.push_back({{"label", LeadLabel(lead.LeadId)},
                    {"code", lead.LeadId},
                    {"start_sample", +lead.StartSample},
                    {"end_sample", +lead.EndSample}});
  }
  return Json{{"count", leads.Count},
              {"reference_beat_subtraction", (leads.Flags & 0x01) != 0},
              {"simultaneous", (leads.Flags & 0x04) != 0},
              {"simultaneous_leads", leads.Flags >> 3},
              {"leads", list}};
}

Json LeadErrorsJson(const SLeadErrors& errors) {
  Json list = Json::array();
  for (unsigned i = 0; i < errors.Count && errors.Errors != nullptr; ++i) {
    list.push_back({{"label", LeadLabel(errors.Errors[i].LeadId)},
                    {"code", errors.Errors[i].LeadId},
                    {"error_bits", +errors.Errors[i].ErrorBits}});
  }
  return list;
}

Json AnalysisJson(const CAnalysisInfo& a, bool withMeasurements, bool withCodes) {
  Json out = Json::object();
  if (withMeasurements) {
    const SGlobalMeasurements& m = a.Measurements;
    out["global_measurements"] = {{"qrs_types", +m.QRSTypes},
                                  {"pacemaker_spikes", +m.PossiblePacemakerSpikes},
                                  {"rr_ms", +m.AvRRms},
                                  {"pp_ms", +m.AvPPms},
                                  {"p_onset_ms", +m.POnsetms},
                                  {"p_offset_ms", +m.POffsetms},
                                  {"qrs_onset_ms", +m.QRSOnsetms},
                                  {"qrs_offset_ms", +m.QRSOffsetms},
                                  {"t_offset_ms", +m.TOffsetms},
                                  {"p_axis", +m.PAxis},
                                  {"qrs_axis", +m.QRSAxis},
                                  {"t_axis", +m.TAxis}};
  }
  if (withCodes) {
    const unsigned rhythm = std::min<unsigned>(a.RhythmCodes, CAnalysisInfo::kMaxRhythmCodes);
    const unsigned morphology =
        std::min<unsigned>(a.MorphologyCodes, CAnalysisInfo::kMaxMorphologyCodes);
    out["rhythm_codes"] = std::vector<uint16_t>(a.RhythmCode, a.RhythmCode + rhythm);
    out["morphology_codes"] =
        std::vector<uint16_t>(a.MorphologyCode, a.MorphologyCode + morphology);
  }
  return out;
}

Json LeadMeasurementsJson(const SLeadMeasurements& measurements) {
  static const char* const kNames[31] = {"lead",
                                         "record_length",
                                         "p_duration",
                                         "pr_interval",
                                         "qrs_duration",
                                         "qt_interval",
                                         "q_duration",
                                         "r_duration",
                                         "s_duration",
                                         "r_dash_duration",
                                         "s_dash_duration",
                                         "q_amplitude",
                                         "r_amplitude",
                                         "s_amplitude",
                                         "r_dash_amplitude",
                                         "s_dash_amplitude",
                                         "j_point_amplitude",
                                         "p_plus_amplitude",
                                         "p_minus_amplitude",
                                         "t_plus_amplitude",
                                         "t_minus_amplitude",
                                         "st_slope",
                                         "p_morphology",
                                         "t_morphology",
                                         "iso_electric_i",
                                         "iso_electric_k",
                                         "intrinsicoid_deflection",
                                         "recording_conditions",
                                         "st_j_plus_20",
                                         "st_j_plus_60",
                                         "st_j_plus_80"};
  Json list = Json::array();
  for (unsigned i = 0; i < measurements.Count && measurements.Records != nullptr; ++i) {
    int16_t values[31];
    static_assert(sizeof(values) == sizeof(SLeadMeasurement), "31 values of 16 bits");
    std::memcpy(values, &measurements.Records[i], sizeof(values));
    Json record{{"label", LeadLabel(static_cast<uint8_t>(values[0]))}};
    for (int v = 0; v < 31; ++v) record[kNames[v]] = values[v];
    list.push_back(record);
  }
  return Json{{"record_size", measurements.RecordSize}, {"leads", list}};
}

Json SampleDataJson(const SEncodedData& data, const SLeadDefinitions& leads) {
  Json list = Json::array();
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    const unsigned count = data.SampleCounts != nullptr ? data.SampleCounts[i] : 0;
    const int16_t* samples = data.LeadSamples != nullptr ? data.LeadSamples[i] : nullptr;
    Json lead{{"label", i < leads.Count && leads.Leads ? LeadLabel(leads.Leads[i].LeadId)
                                                       : "lead " + std::to_string(i + 1)},
              {"samples", samples != nullptr ? count : 0}};
    if (samples != nullptr && count > 0) {
      const auto [low, high] = std::minmax_element(samples, samples + count);
      lead["min"] = *low;
      lead["max"] = *high;
    }
    list.push_back(lead);
  }
  Json out{{"avm_nv", data.AVM}, {"sample_interval_us", data.SampleInterval}};
  if (data.SampleInterval != 0) out["sampling_rate_hz"] = 1e6 / data.SampleInterval;
  out["difference_encoding"] = data.Encoding;
  out["leads"] = list;
  return out;
}

void PrintAsText(std::ostream& out, const Json& value, int indent) {
  const std::string pad(static_cast<size_t>(indent) * 2, ' ');
  auto scalar = [](const Json& v) { return v.is_string() ? v.get<std::string>() : v.dump(); };
  if (value.is_object()) {
    for (const auto& [key, item] : value.items()) {
      if (item.is_structured() && !item.empty()) {
        out << pad << key << ":\n";
        PrintAsText(out, item, indent + 1);
      } else {
        out << pad << key << ": " << (item.is_structured() ? "none" : scalar(item)) << "\n";
      }
    }
  } else if (value.is_array()) {
    const bool simple =
        std::none_of(value.begin(), value.end(), [](const Json& v) { return v.is_structured(); });
    if (simple) {
      out << pad << value.dump() << "\n";
      return;
    }
    for (const Json& item : value) {
      std::string line;
      for (const auto& [key, field] : item.items()) {
        if (!line.empty()) line += ", ";
        line += key + " " + scalar(field);
      }
      out << pad << "- " << line << "\n";
    }
  } else {
    out << pad << scalar(value) << "\n";
  }
}

}  // namespace scpecg
