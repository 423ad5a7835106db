#include "interchange/wfdb_export.h"

#include <cstdio>

#include "interchange/file_bytes.h"
#include "interchange/text_fields.h"
#include "interchange/wfdb_annotations.h"
#include "interchange/wfdb_signal_file.h"
#include "platform/errors.h"
#include "platform/path.h"
#include "record/codes.h"

namespace {

using ktx::interchange::ShortNumber;

constexpr int16_t kInvalid = -32768;

std::vector<std::vector<int16_t>> StoredSignals(const SExportRecord& record) {
  std::vector<std::vector<int16_t>> signals;
  for (const SExportLead& lead : record.Leads) {
    signals.push_back(lead.Samples);
    for (size_t k = 0; k < lead.Samples.size(); ++k) {
      if (IsInvalidSample(record, lead, k)) signals.back()[k] = kInvalid;
    }
  }
  return signals;
}

int16_t Checksum(const std::vector<int16_t>& samples) {
  uint32_t sum = 0;
  for (int16_t sample : samples) sum += static_cast<uint32_t>(sample);
  return static_cast<int16_t>(sum & 0xFFFFu);
}

// "NAME.dat 16 GAIN(0)/mV 16 0 FIRST CHECKSUM 0 LABEL": format 16, 16-bit ADC, zero 0.
std::string SignalLine(const std::string& name, const std::string& gain,
                       const std::vector<int16_t>& samples, const std::string& label) {
  return name + ".dat 16 " + gain + " 16 0 " +
         std::to_string(samples.empty() ? 0 : samples.front()) + " " +
         std::to_string(Checksum(samples)) + " 0 " + label + "\n";
}

std::vector<SWfdbAnnotation> BeatAnnotations(const std::vector<SQrsBeat>& beats) {
  std::vector<SWfdbAnnotation> annotations;
  for (const SQrsBeat& beat : beats) {
    SWfdbAnnotation annotation;
    annotation.Sample = beat.Sample;
    annotation.Code = beat.Type == 0 ? kWfdbNormalBeat : kWfdbUnclassifiedBeat;
    annotation.Number = static_cast<int8_t>(beat.Type <= 127 ? beat.Type : 0);
    annotations.push_back(annotation);
  }
  return annotations;
}

}  // namespace

std::string WfdbHeaderText(const std::string& name, const SExportRecord& record) {
  const std::vector<std::vector<int16_t>> signals = StoredSignals(record);
  const size_t samples = signals.empty() ? 0 : signals.front().size();
  std::string text = name + " " + std::to_string(signals.size()) + " " +
                     ShortNumber(ExportRate(record.SampleInterval)) + " " + std::to_string(samples);
  const SDateTime& when = record.Acquired;
  if (when.Year != 0) {
    char stamp[40];
    std::snprintf(stamp, sizeof(stamp), " %02u:%02u:%02u %02u/%02u/%04u", when.Hour % 100u,
                  when.Minute % 100u, when.Second % 100u, when.Day % 100u, when.Month % 100u,
                  when.Year % 10000u);
    text += stamp;
  }
  text += "\n";
  const std::string gain = ShortNumber(1e6 / record.AVM) + "(0)/mV";
  for (size_t i = 0; i < signals.size(); ++i) {
    text += SignalLine(name, gain, signals[i], record.Leads[i].Name);
  }
  if (record.Age >= 0) text += "# Age: " + std::to_string(record.Age) + "\n";
  if (record.Gender == kSexMale || record.Gender == kSexFemale) {
    text += std::string("# Sex: ") + (record.Gender == kSexMale ? "Male" : "Female") + "\n";
  }
  for (const std::string& line : record.Comment) text.append("# ").append(line).append("\n");
  for (const std::string& line : record.Interpretation) {
    text.append("# Interpretation: ").append(line).append("\n");
  }
  return text;
}

bool ExportWfdb(const std::string& base, const SExportRecord& record,
                std::vector<std::string>* files, std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    files->clear();
    const std::string name = plat::SplitPath(base).Name;
    const std::vector<uint8_t> dat = EncodeWfdbFormat16(StoredSignals(record));
    auto write = [&](const std::string& file, const void* data, size_t size) {
      if (!WriteFileBytes(file, data, size)) {
        *why = file + ": cannot be written";
        return false;
      }
      files->push_back(file);
      return true;
    };
    const std::string header = WfdbHeaderText(name, record);
    if (!write(base + ".hea", header.data(), header.size()) ||
        !write(base + ".dat", dat.data(), dat.size())) {
      return false;
    }
    if (record.Beats.empty()) return true;
    const std::vector<uint8_t> atr = EncodeWfdbAnnotations(BeatAnnotations(record.Beats));
    return write(base + ".atr", atr.data(), atr.size());
  });
}
