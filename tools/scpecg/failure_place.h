// Where in a record a read failed: the section whose own parse leaves the error, found
// by loading each section the record lists on its own.
#pragma once

#include <cstdint>
#include <string>

namespace scpecg {

struct LoadableSection {
  uint16_t Id;
  uint16_t Bit;
};
// The sections the reader parses, in table order.
extern const LoadableSection kLoadableSections[7];

// The error a load of that section alone leaves (with Section 3 for sample data); 0 when
// it loads or the record does not hold it.
uint32_t SectionLoadError(const std::string& file, uint16_t bit);

// For invalid data (13), a mismatched section header (11) or a table too large (84):
// " (in Section N, at byte B)" for the first listed section whose own load fails so,
// " (in the record header or Section 0)" when the framing does; "" otherwise.
std::string FailurePlace(const std::string& file, uint32_t code);

}  // namespace scpecg
