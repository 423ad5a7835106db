#include "failure_place.h"

#include "platform/errors.h"
#include "reader/reader.h"

namespace scpecg {

const LoadableSection kLoadableSections[7] = {{1, kSection1},  {3, kSection3}, {5, kSection5},
                                              {6, kSection6},  {7, kSection7}, {9, kSection9},
                                              {10, kSection10}};

uint32_t SectionLoadError(const std::string& file, uint16_t bit) {
  CReader alone;
  uint16_t loaded = 0;
  const bool needsLeads = bit == kSection5 || bit == kSection6;
  alone.Load(file.c_str(), &loaded, static_cast<uint16_t>(bit | (needsLeads ? kSection3 : 0)));
  return plat::LastError();
}

std::string FailurePlace(const std::string& file, uint32_t code) {
  if (code != plat::kErrInvalidData && code != plat::kErrBadFormat &&
      code != plat::kErrOutOfStructures) {
    return "";
  }
  CReader reader;
  if (!reader.OpenIndexed(file.c_str())) {
    return plat::LastError() == code ? " (in the record header or Section 0)" : "";
  }
  for (const LoadableSection& section : kLoadableSections) {
    const SSectionIndex* listed = nullptr;
    for (uint32_t i = 0; i < reader.Index.Count && listed == nullptr; ++i) {
      const SSectionIndex* entry = reader.Index.Entry(i);
      if (entry != nullptr && entry->Id == section.Id) listed = entry;
    }
    if (listed == nullptr || listed->Length == 0) continue;
    if (SectionLoadError(file, section.Bit) != code) continue;
    return " (in Section " + std::to_string(section.Id) + ", at byte " +
           std::to_string(listed->Index) + ")";
  }
  return "";
}

}  // namespace scpecg
