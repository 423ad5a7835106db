// Section 10: one measurement record per lead.
#include <cstring>

#include "platform/errors.h"
#include "platform/little_endian.h"
#include "format/section_body.h"
#include "reader/section_parsers.h"

namespace {

bool Refuse(SLeadMeasurements* measurements) {
  plat::KeepLastError keep;
  measurements->KillData();
  return false;
}

}  // namespace

bool ParseSection10(plat::FileHandle file, const uint8_t* sectionHeader,
                    SLeadMeasurements* measurements) {
  if (file == plat::kClosedFile || sectionHeader == nullptr || measurements == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  SectionBody body(file, sectionHeader);
  uint8_t header[4];
  if (!body.Read(header, sizeof(header))) return false;
  const uint16_t count = plat::GetLE16(header);
  const uint16_t recordSize = plat::GetLE16(header + 2);
  if (!measurements->Allocate(count)) return Refuse(measurements);
  measurements->RecordSize = recordSize;

  // Only the first 62 bytes of a longer record are known values; the rest is passed
  // over without counting against the section length.
  const uint32_t kept =
      recordSize < SLeadMeasurements::kRecordSize ? recordSize : SLeadMeasurements::kRecordSize;
  const uint32_t skipped = recordSize - kept;
  for (uint16_t i = 0; i < count; ++i) {
    auto* slot = reinterpret_cast<uint8_t*>(&measurements->Records[i]);
    // A shorter record leaves the tail of its slot zero rather than unset, so that
    // values it does not hold read as absent.
    std::memset(slot + kept, 0, SLeadMeasurements::kRecordSize - kept);
    if ((kept != 0 && !body.Read(slot, kept)) || (skipped != 0 && !body.Skip(skipped, false))) {
      return Refuse(measurements);
    }
  }
  return true;
}
