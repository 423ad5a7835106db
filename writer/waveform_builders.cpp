// Sections 3, 5 and 6 from the held lead definitions and sample tables. Samples are
// written as held, two bytes each, little-endian: the writer never compresses.
#include "format/sample_sections.h"
#include "format/section3.h"
#include "platform/errors.h"
#include "writer/writer.h"

namespace {

bool HasSamples(const SEncodedData& data) {
  return data.SampleCounts != nullptr && data.LeadSamples != nullptr;
}

}  // namespace

bool CWriter::CreateSec3_6() {
  if (Store.Used >= SScpRecord::kMaxEntries) return plat::FailWith(plat::kErrOutOfStructures);
  if (!HasRhythm || !(Loaded & kSection6) || !(Loaded & kSection3) ||
      LeadDefinitions.Leads == nullptr || !HasSamples(Rhythm)) {
    return plat::FailWith(plat::kErrNoData);
  }
  // A failure after Section 6 leaves it stored.
  return CreateSampleSection(6, Rhythm) &&
         AddBuilt(3, Section3BodySize(LeadDefinitions),
                  [this](uint8_t* body) { BuildSection3(LeadDefinitions, body); });
}

bool CWriter::CreateSec5() {
  if (Store.Used >= SScpRecord::kMaxEntries) return plat::FailWith(plat::kErrOutOfStructures);
  if (!HasMedian || !(Loaded & kSection5) || !HasSamples(Median))
    return plat::FailWith(plat::kErrNoData);
  return CreateSampleSection(5, Median);
}

bool CWriter::CreateSampleSection(uint16_t id, const SEncodedData& data) {
  uint32_t size = 0;
  return SampleSectionBodySize(data, &size) &&
         AddBuilt(id, size, [&data](uint8_t* body) { BuildSampleSection(data, body); });
}

bool CWriter::FinishEntry(uint16_t entry) {
  if (!StoreSectionHeader(entry)) {
    plat::KeepLastError keep;
    Store.ClearEntry(entry);
    return false;
  }
  ++Store.Used;
  return true;
}
