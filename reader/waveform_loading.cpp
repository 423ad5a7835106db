#include "reader/waveform_loading.h"

#include "platform/errors.h"
#include "reader/section_parsers.h"

namespace {

// Finds section `id` of the reader's open file and runs `parse` on its body. An absent
// section fails with 232 when `required`; an optional one is passed over.
template <typename Parse>
bool LoadSection(CReader& reader, uint16_t id, bool required, Parse parse) {
  uint8_t header[CReader::kSectionHeaderSize];
  if (!CReader::FindSection(reader.File, &reader.Index, id, header)) {
    if (plat::LastError() != plat::kErrSuccess) return false;
    return !required || plat::FailWith(plat::kErrNoData);
  }
  return parse(header);
}

}  // namespace

bool LoadLeadDefinitions(CReader& reader) {
  return LoadSection(reader, 3, true, [&](const uint8_t* header) {
    if (!ParseSection3(reader.File, header, &reader.LeadDefinitions)) return false;
    reader.Loaded |= kSection3;
    return true;
  });
}

bool LoadRhythm(CReader& reader) {
  return LoadSection(reader, 6, true, [&](const uint8_t* header) {
    if (!ParseSampleData(reader.File, header, &reader.LeadDefinitions, &reader.Rhythm, true)) {
      return false;
    }
    reader.HasRhythm = 1;
    reader.Loaded |= kSection6;
    return true;
  });
}

bool LoadMedian(CReader& reader) {
  return LoadSection(reader, 5, false, [&](const uint8_t* header) {
    if (!ParseSampleData(reader.File, header, &reader.LeadDefinitions, &reader.Median, false)) {
      return false;
    }
    reader.HasMedian = 1;
    reader.Loaded |= kSection5;
    return true;
  });
}
