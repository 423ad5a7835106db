#include "engine/ludb_signal.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace testgen {

bool ReadLudb(const std::string& name, LudbSignal* r) {
  std::ifstream header(name + ".hea");
  std::string line;
  int signals = 0;
  long length = 0;
  if (!std::getline(header, line)) return false;
  std::istringstream(line) >> line >> signals >> r->Rate >> length;
  if (signals != 12 || r->Rate <= 0 || length <= 0) return false;
  while (std::getline(header, line)) {
    if (line.rfind("#<age>:", 0) == 0) r->Age = std::atoi(line.c_str() + 7);
    if (line.rfind("#<sex>:", 0) == 0) r->Sex = line.find('M', 7) != std::string::npos ? 'M' : 'F';
  }
  std::ifstream data(name + ".dat", std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(data),
                                         std::istreambuf_iterator<char>()};
  if (bytes.size() < static_cast<size_t>(length) * 24) return false;
  // I, II, III, aVR, aVL, aVF, V1-V6 as SCP-ECG lead codes.
  r->LeadCodes = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  r->Leads.assign(12, std::vector<double>(static_cast<size_t>(length)));
  r->Gaps.assign(12, std::vector<uint8_t>(static_cast<size_t>(length), 0));
  for (size_t i = 0; i < static_cast<size_t>(length); ++i)
    for (size_t l = 0; l < 12; ++l) {
      const size_t at = 2 * (12 * i + l);
      r->Leads[l][i] = static_cast<int16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
  return true;
}

}  // namespace testgen
