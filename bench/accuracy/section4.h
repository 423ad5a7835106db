// The QRS locations the engine wrote into Section 4 of a record (the library's reader
// does not load that section).
#pragma once

#include <string>
#include <vector>

namespace accuracy {

struct QrsLocations {
  int ReferenceFiducial = -1;   // 0-based sample of the fiducial within the reference beat
  std::vector<long> Fiducials;  // 0-based samples of the rhythm
  std::vector<int> Types;       // 0 the dominant type
};

// Empty when `file` has no readable Section 4.
QrsLocations ReadQrsLocations(const std::string& file);

}  // namespace accuracy
