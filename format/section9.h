// Section 9: rhythm and morphology statement codes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"
#include "platform/file.h"

// Reads the body of the section from the open file, positioned at its first body byte,
// bounded by the length field of its 16-byte header.
KTX_API bool ParseSection9(plat::FileHandle file, const uint8_t* sectionHeader,
                           uint16_t* rhythmCodes, int16_t maxRhythm, uint16_t* rhythmCount,
                           uint16_t* morphologyCodes, int16_t maxMorphology,
                           uint16_t* morphologyCount);

// Body bytes: 3 rhythm and 7 morphology codes of three characters each.
constexpr uint32_t kSection9BodySize = 30;
// Fills a body of kSection9BodySize bytes: the first codes of each group, right-aligned
// with leading spaces (codes above 999 keep their last three digits); slots without a
// code are spaces.
void BuildSection9(const uint16_t* rhythmCodes, size_t rhythmCount, const uint16_t* morphologyCodes,
                   size_t morphologyCount, uint8_t* body);
