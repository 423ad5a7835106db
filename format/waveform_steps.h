// The decoding steps, each on plain sample vectors, in the order they are undone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/section4.h"

// Undoes first (order 1) or second (order 2) differences in place, in 16-bit
// arithmetic as the encoder's; order 0 leaves the samples. Other orders: false, 13.
bool UndoDifferences(uint8_t order, std::vector<int16_t>* samples);

// Adds reference beat 0 back into `rhythm` (samples 1..n) in every type-0 zone,
// aligning the zone's fiducial on the beat's; samples outside either are left.
void AddReferenceBeat(const SQrsLocations& qrs, const std::vector<int16_t>& median,
                      std::vector<int16_t>* rhythm);

// Number of stored samples of a bimodally compressed lead of `full` samples:
// protected samples one by one, the others one per `ratio`.
size_t DecimatedCount(const SQrsLocations& qrs, size_t full, unsigned ratio);
// Rebuilds `full` samples from the decimated ones.
bool Undecimate(const SQrsLocations& qrs, const std::vector<int16_t>& stored, size_t full,
                unsigned ratio, std::vector<int16_t>* out);
