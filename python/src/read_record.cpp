#include "read_record.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "failure_place.h"
#include "format/record_view.h"
#include "format/section4.h"
#include "interchange/file_bytes.h"
#include "json_to_python.h"
#include "platform/errors.h"
#include "platform/memory_file.h"
#include "reader/reader.h"
#include "record/lead_labels.h"
#include "scp_error.h"
#include "statement_texts.h"

namespace py = pybind11;

namespace ktxpy {

namespace {

// The file's parts as the library gives them, gathered without the GIL.
struct LoadedRecord {
  std::vector<uint8_t> Bytes;
  CReader Reader;
  std::string Encoding;  // what the decoder undid; empty when the stored samples stand
  bool HasQrs = false;
  SQrsLocations Qrs;
  int CrcValid = -1;                            // -1 no verdict
  std::vector<scpecg::UnloadedSection> Unread;  // listed, but failing to load
};

void ReadQrs(LoadedRecord& record) {
  plat::KeepLastError keep;
  CRecordView sections;
  SSectionView body;
  record.HasQrs = sections.Open(record.Bytes.data(), record.Bytes.size()) &&
                  sections.Find(4, &body) && ParseQrsLocations(body.Bytes, body.Size, &record.Qrs);
}

void CheckCrc(LoadedRecord& record) {
  plat::KeepLastError keep;
  plat::FileHandle file = plat::kClosedFile;
  uint8_t header[CReader::kRecordHeaderSize];
  SSectionIndexes index;
  bool valid = false;
  if (CReader::OpenMemory(&file, record.Bytes.data(), record.Bytes.size(), header) &&
      CReader::ReadSectionIndex(file, &index) && CReader::VerifyCrc(file, &valid, header, &index)) {
    record.CrcValid = valid ? 1 : 0;
  }
  if (file != plat::kClosedFile) plat::CloseFile(file);
}

void Load(const std::string& path, LoadedRecord& record) {
  if (!ReadFileBytes(path, &record.Bytes)) ThrowLastError(path);
  uint16_t loaded = 0;
  if (!record.Reader.LoadDecodedMemory(record.Bytes.data(), record.Bytes.size(), &loaded,
                                       kAllSections, &record.Encoding)) {
    ThrowLastError(path);
  }
  ReadQrs(record);
  CheckCrc(record);
  for (const scpecg::UnloadedSection& section : scpecg::UnloadedSections(path, record.Reader)) {
    if (section.Index != 0 && section.Code != 0) record.Unread.push_back(section);
  }
}

// Leads x samples in microvolts; a lead shorter than the longest is padded with NaN.
py::array_t<float> Microvolts(const SEncodedData& data) {
  size_t longest = 0;
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    if (data.LeadSamples != nullptr && data.LeadSamples[i] != nullptr) {
      longest = std::max<size_t>(longest, data.SampleCounts[i]);
    }
  }
  py::array_t<float> out({static_cast<size_t>(data.LeadCount), longest});
  float* values = out.mutable_data();
  const float scale = static_cast<float>(data.AVM) / 1000.0f;
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    float* row = values + i * longest;
    const int16_t* samples = data.LeadSamples != nullptr ? data.LeadSamples[i] : nullptr;
    const size_t count = samples != nullptr ? data.SampleCounts[i] : 0;
    for (size_t s = 0; s < count; ++s) row[s] = static_cast<float>(samples[s]) * scale;
    std::fill(row + count, row + longest, std::numeric_limits<float>::quiet_NaN());
  }
  return out;
}

py::dict QrsArrays(const SQrsLocations& qrs) {
  const size_t count = qrs.Zones.size();
  py::array_t<uint16_t> types(count);
  py::array_t<uint32_t> starts(count), fiducials(count), ends(count);
  for (size_t i = 0; i < count; ++i) {
    types.mutable_data()[i] = qrs.Zones[i].BeatType;
    starts.mutable_data()[i] = qrs.Zones[i].SubtractStart;
    fiducials.mutable_data()[i] = qrs.Zones[i].Fiducial;
    ends.mutable_data()[i] = qrs.Zones[i].SubtractEnd;
  }
  py::dict out;
  out["reference_beat_length_ms"] = qrs.MedianLengthMs;
  out["reference_beat_fiducial"] = qrs.MedianFiducial;
  out["beat_type"] = types;
  out["subtraction_start"] = starts;
  out["fiducial"] = fiducials;
  out["subtraction_end"] = ends;
  return out;
}

py::list Statements(const CAnalysisInfo& a, int32_t language) {
  py::list out;
  const unsigned rhythm = std::min<unsigned>(a.RhythmCodes, CAnalysisInfo::kMaxRhythmCodes);
  const unsigned morphology =
      std::min<unsigned>(a.MorphologyCodes, CAnalysisInfo::kMaxMorphologyCodes);
  for (const auto& [kind, codes, count] :
       {std::make_tuple("rhythm", a.RhythmCode, rhythm),
        std::make_tuple("morphology", a.MorphologyCode, morphology)}) {
    for (const scpecg::StatementText& item : scpecg::StatementTexts(codes, count, language)) {
      out.append(py::dict(py::arg("code") = item.Code, py::arg("kind") = kind,
                          py::arg("text") = item.Text));
    }
  }
  return out;
}

py::dict Describe(const std::string& path, const LoadedRecord& record, int32_t language) {
  const CReader& reader = record.Reader;
  py::dict out;
  out["file"] = path;
  out["loaded"] = reader.Loaded;
  py::list unread;
  for (const scpecg::UnloadedSection& section : record.Unread) {
    unread.append(py::dict(py::arg("section") = section.Id, py::arg("byte") = section.Index,
                           py::arg("code") = section.Code,
                           py::arg("message") = plat::ErrorMessage(section.Code)));
  }
  out["unread_sections"] = unread;
  if (reader.Loaded & kSection1) {
    out["patient"] = ToPython(scpecg::PatientJson(reader.Patient));
    out["recording"] = ToPython(scpecg::RecordingJson(reader.Recording));
    out["general"] = ToPython(scpecg::GeneralJson(reader.General));
    out["lead_errors"] = ToPython(scpecg::LeadErrorsJson(reader.LeadErrors));
  }
  if (reader.Loaded & kSection3) {
    out["lead_definitions"] = ToPython(scpecg::LeadDefinitionsJson(reader.LeadDefinitions));
  }
  if (reader.Loaded & kSection7) {
    out["global_measurements"] =
        ToPython(scpecg::AnalysisJson(reader.Analysis, true, false)["global_measurements"]);
  }
  if (reader.Loaded & kSection9) out["statements"] = Statements(reader.Analysis, language);
  if (reader.Loaded & kSection10) {
    out["lead_measurements"] = ToPython(scpecg::LeadMeasurementsJson(reader.LeadMeasurements));
  }
  out["encoding"] = record.Encoding;
  if (reader.HasRhythm) {
    out["rhythm"] = Microvolts(reader.Rhythm);
    out["rhythm_interval_us"] = reader.Rhythm.SampleInterval;
  }
  if (reader.HasMedian) {
    out["reference_beats"] = Microvolts(reader.Median);
    out["reference_beats_interval_us"] = reader.Median.SampleInterval;
  }
  if (record.HasQrs) out["qrs"] = QrsArrays(record.Qrs);
  out["crc_valid"] = record.CrcValid < 0 ? py::object(py::none()) : py::bool_(record.CrcValid == 1);
  return out;
}

}  // namespace

py::dict ReadRecord(const std::string& path, const std::string& language) {
  const int32_t index = scpecg::LanguageIndex(language);
  if (index < 0) throw py::value_error("unknown language: " + language);
  LoadedRecord record;
  {
    py::gil_scoped_release release;
    Load(path, record);
  }
  return Describe(path, record, index);
}

}  // namespace ktxpy
