#include "reader/waveform_loading.h"

#include "format/sample_sections.h"
#include "format/section3.h"
#include "platform/errors.h"

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

// Section 6 (`rhythm`) or 5 into `data`; on success `*has` is set and `bit` loaded.
bool LoadSampleData(CReader& reader, const uint8_t* header, bool rhythm, SEncodedData* data,
                    uint8_t* has, uint16_t bit) {
  if (!ParseSampleData(reader.File, header, &reader.LeadDefinitions, data, rhythm)) return false;
  *has = 1;
  reader.Loaded |= bit;
  return true;
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
    return LoadSampleData(reader, header, true, &reader.Rhythm, &reader.HasRhythm, kSection6);
  });
}

bool LoadMedian(CReader& reader) {
  return LoadSection(reader, 5, false, [&](const uint8_t* header) {
    return LoadSampleData(reader, header, false, &reader.Median, &reader.HasMedian, kSection5);
  });
}
