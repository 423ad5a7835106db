#include "interchange/wfdb_header.h"

#include <limits>

#include "interchange/text_fields.h"

namespace {

using ktx::interchange::ParseDouble;
using ktx::interchange::ParseInt;

bool Fail(std::string* why, size_t line, const std::string& message) {
  *why = "line " + std::to_string(line) + ": " + message;
  return false;
}

bool ParseInt32(const std::string& text, int32_t* value) {
  int64_t wide = 0;
  if (!ParseInt(text, &wide) || wide < std::numeric_limits<int32_t>::min() ||
      wide > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  *value = static_cast<int32_t>(wide);
  return true;
}

// "fs[/counter[(base)]]": only the sampling rate matters here.
bool ParseRate(const std::string& word, double* rate) {
  const std::string frequency = word.substr(0, word.find('/'));
  return ParseDouble(frequency, rate) && *rate > 0 && *rate < 1e9;
}

// "HH:MM:SS[.s]" or "MM:SS[.s]".
bool ParseTime(const std::string& word, SWfdbHeader* header) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t colon; (colon = word.find(':', start)) != std::string::npos; start = colon + 1) {
    parts.push_back(word.substr(start, colon - start));
  }
  parts.push_back(word.substr(start));
  if (parts.size() < 2 || parts.size() > 3) return false;
  int64_t hour = 0;
  int64_t minute = 0;
  double second = 0;
  if (parts.size() == 3 && !ParseInt(parts[0], &hour)) return false;
  if (!ParseInt(parts[parts.size() - 2], &minute) || !ParseDouble(parts.back(), &second)) {
    return false;
  }
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || !(second >= 0 && second < 60)) {
    return false;
  }
  header->HasTime = true;
  header->Hour = static_cast<int>(hour);
  header->Minute = static_cast<int>(minute);
  header->Second = second;
  return true;
}

// "DD/MM/YYYY".
bool ParseDate(const std::string& word, SWfdbHeader* header) {
  const size_t first = word.find('/');
  const size_t second = first == std::string::npos ? first : word.find('/', first + 1);
  if (second == std::string::npos) return false;
  int64_t day = 0;
  int64_t month = 0;
  int64_t year = 0;
  if (!ParseInt(word.substr(0, first), &day) ||
      !ParseInt(word.substr(first + 1, second - first - 1), &month) ||
      !ParseInt(word.substr(second + 1), &year)) {
    return false;
  }
  if (day < 1 || day > 31 || month < 1 || month > 12 || year < 1 || year > 9999) return false;
  header->HasDate = true;
  header->Day = static_cast<int>(day);
  header->Month = static_cast<int>(month);
  header->Year = static_cast<int>(year);
  return true;
}

bool ParseRecordLine(const std::string& line, size_t number, SWfdbHeader* header,
                     size_t* signalCount, std::string* why) {
  const std::vector<std::string> words = ktx::interchange::Words(line);
  if (words.size() < 2) return Fail(why, number, "the record line names no signal count");
  if (words[0].find('/') != std::string::npos) {
    return Fail(why, number,
                "'" + words[0] + "' is a multi-segment record: import its segments one by one");
  }
  header->RecordName = words[0];
  int64_t count = 0;
  if (!ParseInt(words[1], &count) || count < 0 || count > 100000) {
    return Fail(why, number, "'" + words[1] + "' is not a number of signals");
  }
  *signalCount = static_cast<size_t>(count);
  if (words.size() > 2 && !ParseRate(words[2], &header->Rate)) {
    return Fail(why, number, "'" + words[2] + "' is not a sampling rate");
  }
  if (words.size() > 3) {
    int64_t samples = 0;
    if (!ParseInt(words[3], &samples) || samples < 0) {
      return Fail(why, number, "'" + words[3] + "' is not a number of samples");
    }
    header->SampleCount = static_cast<uint64_t>(samples);
  }
  if (words.size() > 4 && !ParseTime(words[4], header)) {
    return Fail(why, number, "'" + words[4] + "' is not a base time HH:MM:SS");
  }
  if (words.size() > 5 && !ParseDate(words[5], header)) {
    return Fail(why, number, "'" + words[5] + "' is not a base date DD/MM/YYYY");
  }
  return true;
}

// "format[xspf][:skew][+offset]".
bool ParseFormat(const std::string& word, SWfdbSignalSpec* signal) {
  size_t end = word.find_first_of("x:+");
  int64_t value = 0;
  if (!ParseInt(word.substr(0, end), &value) || value < 0 || value > 1000) return false;
  signal->Format = static_cast<int>(value);
  while (end != std::string::npos) {
    const char mark = word[end];
    const size_t next = word.find_first_of("x:+", end + 1);
    const std::string field =
        word.substr(end + 1, next == std::string::npos ? std::string::npos : next - end - 1);
    if (!ParseInt(field, &value) || value < 0) return false;
    if (mark == 'x') {
      if (value > 1000) return false;
      signal->SamplesPerFrame = static_cast<int>(value);
    } else if (mark == ':') {
      if (value > 1000000) return false;
      signal->Skew = static_cast<int>(value);
    } else {
      signal->ByteOffset = static_cast<uint64_t>(value);
    }
    end = next;
  }
  return true;
}

// "gain[(baseline)][/units]".
bool ParseGain(const std::string& word, SWfdbSignalSpec* signal, bool* baselineGiven) {
  const size_t slash = word.find('/');
  std::string gain = word.substr(0, slash);
  if (slash != std::string::npos) {
    signal->Units = word.substr(slash + 1);
    if (signal->Units.empty()) return false;
  }
  const size_t open = gain.find('(');
  if (open != std::string::npos) {
    if (gain.back() != ')') return false;
    if (!ParseInt32(gain.substr(open + 1, gain.size() - open - 2), &signal->Baseline)) {
      return false;
    }
    *baselineGiven = true;
    gain.resize(open);
  }
  if (!ParseDouble(gain, &signal->Gain) || !(signal->Gain >= 0) || signal->Gain > 1e12) {
    return false;
  }
  if (signal->Gain == 0) {
    signal->Gain = 200;
    signal->Calibrated = false;
  }
  return true;
}

bool ParseSignalLine(const std::string& line, size_t number, SWfdbSignalSpec* signal,
                     std::string* why) {
  const std::vector<std::string> words = ktx::interchange::Words(line);
  if (words.size() < 2) return Fail(why, number, "a signal line needs a file name and a format");
  signal->FileName = words[0];
  if (!ParseFormat(words[1], signal)) {
    return Fail(why, number, "'" + words[1] + "' is not a signal format");
  }
  bool baselineGiven = false;
  if (words.size() > 2 && !ParseGain(words[2], signal, &baselineGiven)) {
    return Fail(why, number, "'" + words[2] + "' is not a gain[(baseline)][/units]");
  }
  int64_t resolution = 0;
  if (words.size() > 3 && (!ParseInt(words[3], &resolution) || resolution < 0 || resolution > 64)) {
    return Fail(why, number, "'" + words[3] + "' is not an ADC resolution");
  }
  signal->AdcResolution = static_cast<int>(resolution);
  if (words.size() > 4 && !ParseInt32(words[4], &signal->AdcZero)) {
    return Fail(why, number, "'" + words[4] + "' is not an ADC zero");
  }
  if (words.size() > 5 && !ParseInt32(words[5], &signal->InitialValue)) {
    return Fail(why, number, "'" + words[5] + "' is not an initial value");
  }
  if (words.size() > 6) {
    if (!ParseInt32(words[6], &signal->Checksum)) {
      return Fail(why, number, "'" + words[6] + "' is not a checksum");
    }
    signal->ChecksumGiven = true;
  }
  if (!baselineGiven) signal->Baseline = signal->AdcZero;
  // The block size comes seventh; the description is the rest of the line, blanks and all.
  if (words.size() > 8) {
    size_t at = 0;
    for (size_t i = 0; i < 8; ++i) {
      at = line.find(words[i], at) + words[i].size();
    }
    signal->Description = ktx::interchange::Trim(line.substr(at));
  }
  return true;
}

}  // namespace

bool ParseWfdbHeader(const std::string& text, SWfdbHeader* header, std::string* why) {
  SWfdbHeader parsed;
  size_t signalCount = 0;
  bool recordLineSeen = false;
  const std::vector<std::string> lines = ktx::interchange::Lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = ktx::interchange::Trim(lines[i]);
    if (line.empty()) continue;
    if (line[0] == '#') {
      parsed.Comments.push_back(ktx::interchange::Trim(line.substr(1)));
      continue;
    }
    if (!recordLineSeen) {
      if (!ParseRecordLine(line, i + 1, &parsed, &signalCount, why)) return false;
      recordLineSeen = true;
    } else if (parsed.Signals.size() < signalCount) {
      SWfdbSignalSpec signal;
      if (!ParseSignalLine(line, i + 1, &signal, why)) return false;
      parsed.Signals.push_back(signal);
    }
  }
  if (!recordLineSeen) {
    *why = "no record line";
    return false;
  }
  if (parsed.Signals.size() < signalCount) {
    *why = "the record line announces " + std::to_string(signalCount) + " signals, " +
           std::to_string(parsed.Signals.size()) + " are described";
    return false;
  }
  *header = std::move(parsed);
  return true;
}
