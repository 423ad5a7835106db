#include "wfdb.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace accuracy {
namespace {

std::vector<unsigned char> ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool IsBeat(int code) {
  return (code >= 1 && code <= 13) || code == 25 || code == 34 || code == 38;
}

int Signed12(int v) {
  return v >= 2048 ? v - 4096 : v;
}

void Unpack212(const std::vector<unsigned char>& data, long length, WfdbRecord* r) {
  for (size_t i = 0; i + 2 < data.size() && static_cast<long>(r->Samples[0].size()) < length;
       i += 3) {
    r->Samples[0].push_back(Signed12(data[i] | ((data[i + 1] & 0x0F) << 8)));
    r->Samples[1].push_back(Signed12(data[i + 2] | ((data[i + 1] & 0xF0) << 4)));
  }
}

void Unpack16(const std::vector<unsigned char>& data, long length, WfdbRecord* r) {
  const size_t signals = r->Samples.size(), frame = 2 * signals;
  for (size_t at = 0; at + frame <= data.size() && static_cast<long>(at / frame) < length;
       at += frame)
    for (size_t s = 0; s < signals; ++s) {
      const int v = data[at + 2 * s] | (data[at + 2 * s + 1] << 8);
      r->Samples[s].push_back(v >= 32768 ? v - 65536 : v);
    }
}

}  // namespace

bool ReadRecord(const std::string& path, WfdbRecord* r, std::string* error) {
  std::ifstream header(path + ".hea");
  std::string line;
  if (!header || !std::getline(header, line)) {
    *error = "cannot read " + path + ".hea";
    return false;
  }
  std::istringstream first(line);
  std::string name;
  int signals = 0;
  long length = 0;
  first >> name >> signals >> r->Rate >> length;
  if (signals < 1 || r->Rate <= 0 || length <= 0) {
    *error = "no signals in " + path + ".hea";
    return false;
  }
  std::string format;
  for (int s = 0; s < signals && std::getline(header, line); ++s) {
    std::istringstream in(line);
    std::string file, gain, bits, zero, rest;
    in >> file >> format >> gain >> bits >> zero;
    if (format != "212" && format != "16") {
      *error = "format " + format + " is neither 212 nor 16";
      return false;
    }
    for (int skip = 0; skip < 3; ++skip) in >> rest;  // first value, checksum, block size
    std::string leadName;
    in >> leadName;
    r->Gains.push_back(std::stoi(gain));
    r->Zeros.push_back(std::stoi(zero));
    r->LeadNames.push_back(leadName);
  }
  while (std::getline(header, line))
    if (!line.empty() && line[0] == '#') r->Comments.push_back(line.substr(1));
  const std::vector<unsigned char> data = ReadAll(path + ".dat");
  r->Samples.assign(static_cast<size_t>(signals), {});
  if (format == "212" && signals == 2) {
    Unpack212(data, length, r);
  } else if (format == "16") {
    Unpack16(data, length, r);
  } else {
    *error = "format 212 needs two signals";
    return false;
  }
  if (r->Samples[0].empty()) {
    *error = "no samples in " + path + ".dat";
    return false;
  }
  return true;
}

bool ReadAnnotations(const std::string& file, std::vector<Annotation>* out, std::string* error) {
  const std::vector<unsigned char> a = ReadAll(file);
  if (a.empty()) {
    *error = "cannot read " + file;
    return false;
  }
  long time = 0;
  for (size_t i = 0; i + 1 < a.size(); i += 2) {
    const int word = a[i] | (a[i + 1] << 8);
    const int code = word >> 10, increment = word & 0x3FF;
    if (word == 0) break;
    if (code == 59) {  // SKIP: a 32-bit increment follows, high half first
      if (i + 5 >= a.size()) break;
      const long high = a[i + 2] | (a[i + 3] << 8), low = a[i + 4] | (a[i + 5] << 8);
      time += (high << 16) | low;
      i += 4;
      continue;
    }
    if (code == 63) {  // AUX: its bytes follow, padded to an even count
      i += static_cast<size_t>((increment + 1) & ~1);
      continue;
    }
    if (code >= 60) continue;  // NUM, SUB, CHN
    time += increment;
    out->push_back({time, code});
  }
  return true;
}

bool ReadBeats(const std::string& path, std::vector<long>* beats, std::string* error) {
  std::vector<Annotation> all;
  if (!ReadAnnotations(path + ".atr", &all, error)) return false;
  for (const Annotation& a : all)
    if (IsBeat(a.Code)) beats->push_back(a.Time);
  return true;
}

}  // namespace accuracy
