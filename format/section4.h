// Section 4, the QRS locations: the reference beat's length and fiducial, and per QRS
// complex its type and sample range, with the protected zones of bimodal compression.
// Its parse and its build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/export.h"

struct SQrsZone {
  uint16_t BeatType = 0;
  uint32_t SubtractStart = 0, Fiducial = 0, SubtractEnd = 0;  // 1-based rhythm samples
  uint32_t ProtectStart = 0, ProtectEnd = 0;
};
struct SQrsLocations {
  uint16_t MedianLengthMs = 0;
  uint16_t MedianFiducial = 0;  // 1-based sample of the reference beat
  std::vector<SQrsZone> Zones;
  bool HasProtected = false;  // the protected zones follow the subtraction zones
};

// False with 13 when the body is too short for the complexes it counts.
KTX_API bool ParseQrsLocations(const uint8_t* body, size_t size, SQrsLocations* out);

// Body bytes of the build: at most 65535 complexes are written.
KTX_API size_t QrsLocationsSize(const SQrsLocations& qrs);
// Writes QrsLocationsSize bytes at `body`.
KTX_API void BuildQrsLocations(const SQrsLocations& qrs, uint8_t* body);
