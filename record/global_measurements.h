// The global measurements of Section 7, laid out as the first 22 bytes of its body.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

#pragma pack(push, 1)
struct KTX_API SGlobalMeasurements {
  uint8_t QRSTypes = 0;                 // number of reference beat types
  uint8_t PossiblePacemakerSpikes = 0;  // number of pacemaker spikes
  uint16_t AvRRms = 0;                  // average RR interval
  uint16_t AvPPms = 0;                  // average PP interval
  // Fiducial points of the first reference beat type, ms.
  uint16_t POnsetms = 0;
  uint16_t POffsetms = 0;
  uint16_t QRSOnsetms = 0;
  uint16_t QRSOffsetms = 0;
  uint16_t TOffsetms = 0;
  // Axes in degrees.
  int16_t PAxis = 0;
  int16_t QRSAxis = 0;
  int16_t TAxis = 0;

  void KillData();
};
#pragma pack(pop)
static_assert(sizeof(SGlobalMeasurements) == 22, "global measurements are 22 bytes in the file");
static_assert(offsetof(SGlobalMeasurements, POnsetms) == 6,
              "beat block follows the 6 header bytes");
