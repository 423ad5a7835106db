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

namespace {

const SSectionIndex* Listed(const CReader& reader, uint16_t id) {
  for (uint32_t i = 0; i < reader.Index.Count; ++i) {
    const SSectionIndex* entry = reader.Index.Entry(i);
    if (entry != nullptr && entry->Id == id && entry->Length != 0) return entry;
  }
  return nullptr;
}

}  // namespace

std::vector<UnloadedSection> UnloadedSections(const std::string& file, const CReader& reader) {
  std::vector<UnloadedSection> out;
  for (const LoadableSection& section : kLoadableSections) {
    if (reader.Loaded & section.Bit) continue;
    const SSectionIndex* listed = Listed(reader, section.Id);
    if (listed == nullptr) {
      out.push_back({section.Id, 0, 0});
    } else {
      out.push_back({section.Id, listed->Index, SectionLoadError(file, section.Bit)});
    }
  }
  return out;
}

std::string UnreadSectionText(const std::vector<UnloadedSection>& unloaded,
                              std::initializer_list<uint16_t> ids) {
  for (uint16_t id : ids) {
    for (const UnloadedSection& section : unloaded) {
      if (section.Id != id || section.Code == 0 || section.Index == 0) continue;
      return "Section " + std::to_string(id) + " (at byte " + std::to_string(section.Index) +
             ") could not be read: error " + std::to_string(section.Code) + " " +
             plat::ErrorMessage(section.Code);
    }
  }
  return "";
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
    const SSectionIndex* listed = Listed(reader, section.Id);
    if (listed == nullptr) continue;
    if (SectionLoadError(file, section.Bit) != code) continue;
    return " (in Section " + std::to_string(section.Id) + ", at byte " +
           std::to_string(listed->Index) + ")";
  }
  return "";
}

}  // namespace scpecg
