// Where in a record a read failed: the section whose own parse leaves the error, found
// by loading each section the record lists on its own.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class CReader;

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

// A section the reader parses that a load left out: absent (Code 0, Index 0), or listed
// at byte Index and failing with Code when loaded on its own.
struct UnloadedSection {
  uint16_t Id;
  uint32_t Index;
  uint32_t Code;
};
// The sections of kLoadableSections that `reader` (loaded from `file`) lacks.
std::vector<UnloadedSection> UnloadedSections(const std::string& file, const CReader& reader);
// "Section 3 (at byte 170) could not be read: error 13 The data is invalid." for the first
// listed section among `ids` that failed; "" when none did.
std::string UnreadSectionText(const std::vector<UnloadedSection>& unloaded,
                              std::initializer_list<uint16_t> ids);

// For invalid data (13), a mismatched section header (11) or a table too large (84):
// " (in Section N, at byte B)" for the first listed section whose own load fails so,
// " (in the record header or Section 0)" when the framing does; "" otherwise.
std::string FailurePlace(const std::string& file, uint32_t code);

}  // namespace scpecg
