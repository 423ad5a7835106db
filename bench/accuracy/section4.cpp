#include "section4.h"

#include <fstream>
#include <iterator>

#include "reader/reader.h"

namespace accuracy {

QrsLocations ReadQrsLocations(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
  QrsLocations out;
  if (b.size() < 22) return out;
  const uint32_t length0 = CReader::ReadU32(&b[10]);
  for (size_t e = 22; e + 10 <= 6 + length0 && e + 10 <= b.size(); e += 10) {
    if (CReader::ReadU16(&b[e]) != 4) continue;
    const size_t at = CReader::ReadU32(&b[e + 6]) - 1 + 16;
    if (CReader::ReadU32(&b[e + 2]) == 0 || at + 6 > b.size()) break;
    out.ReferenceFiducial = static_cast<int>(CReader::ReadU16(&b[at + 2])) - 1;
    const size_t n = CReader::ReadU16(&b[at + 4]);
    for (size_t q = 0; q < n && at + 6 + 14 * q + 14 <= b.size(); ++q) {
      const size_t entry = at + 6 + 14 * q;
      out.Types.push_back(CReader::ReadU16(&b[entry]));
      out.Fiducials.push_back(static_cast<long>(CReader::ReadU32(&b[entry + 6])) - 1);
    }
  }
  return out;
}

}  // namespace accuracy
