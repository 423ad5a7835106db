#include "interchange/wfdb_record.h"

#include <cmath>
#include <map>

#include "interchange/file_bytes.h"
#include "interchange/mat_v4.h"
#include "interchange/text_fields.h"
#include "interchange/wfdb_signal_file.h"
#include "platform/errors.h"
#include "platform/path.h"

namespace {

// A record that cannot be read as it stands: 13, and why.
bool Fail(std::string* why, const std::string& message) {
  *why = message;
  return plat::FailWith(plat::kErrInvalidData);
}

std::string Folder(const std::string& path) {
  const plat::PathParts parts = plat::SplitPath(path);
  return parts.Drive + parts.Folder;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         ktx::interchange::Lowered(text.substr(text.size() - end.size())) == end;
}

// The signals of one file, in header order.
struct FileGroup {
  std::string Name;
  std::vector<size_t> Signals;
};

std::vector<FileGroup> GroupByFile(const SWfdbHeader& header) {
  std::vector<FileGroup> groups;
  std::map<std::string, size_t> byName;
  for (size_t i = 0; i < header.Signals.size(); ++i) {
    const std::string& name = header.Signals[i].FileName;
    const auto found = byName.emplace(name, groups.size());
    if (found.second) groups.push_back({name, {}});
    groups[found.first->second].Signals.push_back(i);
  }
  return groups;
}

std::string SignalName(const SWfdbHeader& header, size_t i) {
  const std::string& description = header.Signals[i].Description;
  return "signal " + std::to_string(i + 1) + (description.empty() ? "" : " (" + description + ")");
}

// A MAT v4 file: its first matrix, a row per signal of the group (or a column each).
bool ReadMatGroup(const std::vector<uint8_t>& bytes, const FileGroup& group,
                  std::vector<std::vector<int32_t>>* samples, std::string* why) {
  SMatMatrix matrix;
  if (!ParseMatV4(bytes.data(), bytes.size(), &matrix, why)) return false;
  const size_t signals = group.Signals.size();
  const bool rowPerSignal = matrix.Rows == signals;
  if (!rowPerSignal && matrix.Columns != signals) {
    return Fail(why, "its matrix is " + std::to_string(matrix.Rows) + " x " +
                         std::to_string(matrix.Columns) + ", not one row per each of its " +
                         std::to_string(signals) + " signals");
  }
  const uint32_t length = rowPerSignal ? matrix.Columns : matrix.Rows;
  samples->assign(signals, std::vector<int32_t>(length));
  for (size_t s = 0; s < signals; ++s) {
    for (uint32_t i = 0; i < length; ++i) {
      const double value = rowPerSignal ? matrix.At(static_cast<uint32_t>(s), i)
                                        : matrix.At(i, static_cast<uint32_t>(s));
      if (!std::isfinite(value) || std::fabs(value) > 2147483647.0) {
        return Fail(why, "its matrix holds " + ktx::interchange::ShortNumber(value) +
                             ", which is no ADC value");
      }
      (*samples)[s][i] = static_cast<int32_t>(std::lround(value));
    }
  }
  return true;
}

bool ReadSignalGroup(const std::string& folder, const SWfdbHeader& header, const FileGroup& group,
                     std::vector<std::vector<int32_t>>* samples, std::string* why) {
  const SWfdbSignalSpec& first = header.Signals[group.Signals.front()];
  for (size_t i : group.Signals) {
    const SWfdbSignalSpec& signal = header.Signals[i];
    if (signal.Format != first.Format) {
      return Fail(why, group.Name + " holds signals of formats " + std::to_string(first.Format) +
                           " and " + std::to_string(signal.Format));
    }
    if (signal.SamplesPerFrame != 1 || signal.Skew != 0) {
      return Fail(why, SignalName(header, i) +
                           " has several samples per frame or a skew, which are not read");
    }
  }
  if (group.Name == "~") return Fail(why, "the record has signals without a file ('~')");
  const bool mat = EndsWith(group.Name, ".mat");
  if (!mat && !IsReadableWfdbFormat(first.Format)) {
    return Fail(why, SignalName(header, group.Signals.front()) + " is in format " +
                         std::to_string(first.Format) + ": formats 16, 212, 80 and .mat are read");
  }
  const std::string path = folder + group.Name;
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes)) {
    *why = path + ": cannot be read";
    return false;  // with the system's code
  }
  if (mat) {
    if (!ReadMatGroup(bytes, group, samples, why)) return Fail(why, path + ": " + *why);
    return true;
  }
  const uint64_t offset = first.ByteOffset;
  const size_t size = offset < bytes.size() ? bytes.size() - static_cast<size_t>(offset) : 0;
  const uint64_t frames = WfdbFramesIn(first.Format, size, group.Signals.size());
  DecodeWfdbFrames(first.Format, bytes.data() + (size > 0 ? offset : 0), group.Signals.size(),
                   frames, samples);
  return true;
}

// The 16-bit sum of a signal's samples that the header keeps to check them by.
int32_t Checksum(const std::vector<int32_t>& samples) {
  uint32_t sum = 0;
  for (int32_t value : samples) sum += static_cast<uint32_t>(value);
  return static_cast<int16_t>(sum & 0xFFFFu);
}

}  // namespace

std::string WfdbHeaderPath(const std::string& path) {
  return EndsWith(path, ".hea") ? path : path + ".hea";
}

bool ReadWfdbRecord(const std::string& path, SWfdbRecord* record, std::string* why) {
  return plat::CatchOutOfMemory(false, [&] {
    const std::string headerPath = WfdbHeaderPath(path);
    std::vector<uint8_t> text;
    if (!ReadFileBytes(headerPath, &text)) {
      *why = headerPath + ": cannot be read";
      return false;
    }
    SWfdbRecord read;
    if (!ParseWfdbHeader(std::string(text.begin(), text.end()), &read.Header, why)) {
      return Fail(why, headerPath + ": " + *why);
    }
    const SWfdbHeader& header = read.Header;
    if (header.Signals.empty()) {
      return Fail(why, headerPath + ": the record has no signals");
    }
    read.Samples.resize(header.Signals.size());
    uint64_t length = header.SampleCount;
    const std::string folder = Folder(headerPath);
    for (const FileGroup& group : GroupByFile(header)) {
      std::vector<std::vector<int32_t>> samples;
      if (!ReadSignalGroup(folder, header, group, &samples, why)) return false;
      const uint64_t held = samples.front().size();
      if (header.SampleCount > held) {
        return Fail(why, folder + group.Name + " holds " + std::to_string(held) +
                             " samples per signal; the header says " +
                             std::to_string(header.SampleCount));
      }
      if (header.SampleCount == 0 && (length == 0 || held < length)) length = held;
      for (size_t k = 0; k < group.Signals.size(); ++k) {
        read.Samples[group.Signals[k]] = std::move(samples[k]);
      }
    }
    for (size_t i = 0; i < read.Samples.size(); ++i) {
      read.Samples[i].resize(static_cast<size_t>(length));
      const SWfdbSignalSpec& signal = header.Signals[i];
      if (signal.ChecksumGiven && header.SampleCount != 0 &&
          Checksum(read.Samples[i]) != static_cast<int16_t>(signal.Checksum)) {
        read.Notes.push_back(SignalName(header, i) + ": its samples do not add up to the " +
                             "header's checksum " + std::to_string(signal.Checksum));
      }
    }
    read.Header.SampleCount = length;
    *record = std::move(read);
    return true;
  });
}
