// The QRS complexes an analysis found (Section 4): where each is and its type.
#pragma once

#include <cstdint>
#include <vector>

struct SQrsBeat {
  uint32_t Sample = 0;  // the fiducial point, 0-based in the rhythm
  uint16_t Type = 0;    // 0 the dominant (reference beat) type, then the others
};

// The beats of the record `name`'s Section 4, in stored order; none (true) when the
// record has no Section 4. False with the reader's code for a file that cannot be read
// or 13 for a Section 4 shorter than its count of complexes.
bool ReadQrsBeats(const char* name, std::vector<SQrsBeat>* beats);
