// Section 10: one measurement record per lead.
#include <cstring>

#include "format/section10.h"
#include "format/section_body.h"
#include "platform/errors.h"
#include "platform/little_endian.h"

namespace {

bool Refuse(SLeadMeasurements* measurements) {
  plat::KeepLastError keep;
  measurements->KillData();
  return false;
}

// The record size written: the table's, at most the 62 bytes of known values.
uint32_t WrittenRecordSize(const SLeadMeasurements& measurements) {
  return measurements.RecordSize < SLeadMeasurements::kRecordSize ? measurements.RecordSize
                                                                  : SLeadMeasurements::kRecordSize;
}

uint32_t WrittenBytes(const SLeadMeasurement& record, uint32_t size) {
  return record.RecordLength < size ? record.RecordLength : size;
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

uint32_t Section10BodySize(const SLeadMeasurements& measurements) {
  const uint32_t size = WrittenRecordSize(measurements);
  uint32_t bytes = 4;
  for (unsigned r = 0; r < measurements.Count; ++r) {
    bytes += WrittenBytes(measurements.Records[r], size);
  }
  return bytes;
}

void BuildSection10(const SLeadMeasurements& measurements, uint8_t* body) {
  const uint32_t size = WrittenRecordSize(measurements);
  plat::PutLE16(body, measurements.Count);
  plat::PutLE16(body + 2, static_cast<uint16_t>(size));
  uint8_t* out = body + 4;
  for (unsigned r = 0; r < measurements.Count; ++r) {
    const SLeadMeasurement& record = measurements.Records[r];
    // The 31 values in file order, low byte first, as far as the record reaches.
    uint16_t words[SLeadMeasurements::kRecordSize / 2];
    std::memcpy(words, &record, sizeof words);
    uint8_t values[SLeadMeasurements::kRecordSize];
    for (unsigned v = 0; v < SLeadMeasurements::kRecordSize / 2; ++v) {
      plat::PutLE16(values + 2 * v, words[v]);
    }
    const uint32_t bytes = WrittenBytes(record, size);
    std::memcpy(out, values, bytes);
    out += bytes;
  }
}
