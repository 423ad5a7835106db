#include "decoder/record_sections.h"

#include "platform/errors.h"

namespace {
constexpr size_t kRecordHeader = 6;
constexpr size_t kSectionHeader = 16;
constexpr size_t kEntry = 10;
}  // namespace

bool CRecordSections::Open(const uint8_t* record, size_t size) {
  record_ = record;
  entries_ = 0;
  if (record == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  if (size < kRecordHeader + kSectionHeader) return plat::FailWith(plat::kErrInvalidData);
  const uint32_t length = plat::GetLE32(record + 2);
  if (length > size || length < kRecordHeader + kSectionHeader) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  size_ = length;
  const uint8_t* section0 = record + kRecordHeader;
  const uint32_t length0 = plat::GetLE32(section0 + 4);
  if (plat::GetLE16(section0 + 2) != 0 || length0 < kSectionHeader ||
      length0 > size_ - kRecordHeader) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  entries_ = (length0 - kSectionHeader) / kEntry;
  return true;
}

bool CRecordSections::Find(uint16_t id, SSectionBody* body) const {
  const uint8_t* table = record_ + kRecordHeader + kSectionHeader;
  for (size_t i = 0; i < entries_; ++i) {
    const uint8_t* entry = table + i * kEntry;
    if (plat::GetLE16(entry) != id) continue;
    // The first entry with the number decides, as in the reader.
    const uint32_t length = plat::GetLE32(entry + 2);
    const uint32_t index = plat::GetLE32(entry + 6);
    if (length == 0 || index == 0) return plat::FailWith(plat::kErrSuccess);
    const size_t offset = index - 1;
    if (offset > size_ || size_ - offset < kSectionHeader) {
      return plat::FailWith(plat::kErrInvalidData);
    }
    const uint32_t own = plat::GetLE32(record_ + offset + 4);
    if (own < kSectionHeader || own > size_ - offset) return plat::FailWith(plat::kErrInvalidData);
    body->Bytes = record_ + offset + kSectionHeader;
    body->Size = own - kSectionHeader;
    return true;
  }
  return plat::FailWith(plat::kErrSuccess);
}
