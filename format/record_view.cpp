#include "format/record_view.h"
#include "format/section_header.h"

#include "platform/errors.h"
#include "platform/little_endian.h"

bool CRecordView::Open(const uint8_t* record, size_t size) {
  record_ = record;
  size_ = 0;
  entries_ = 0;
  if (record == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  if (size < kRecordHeader + kSectionHeader) return plat::FailWith(plat::kErrInvalidData);
  const uint32_t length = plat::GetLE32(record + 2);
  if (length > size || length < kRecordHeader + kSectionHeader) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  size_ = length;
  SSectionView section0;
  if (!At(kRecordHeader, &section0) || section0.Id != 0) {
    size_ = 0;
    return plat::FailWith(plat::kErrInvalidData);
  }
  entries_ = section0.Size / kEntrySize;
  return true;
}

uint16_t CRecordView::Crc() const {
  return record_ != nullptr ? plat::GetLE16(record_) : 0;
}

SSectionEntry CRecordView::Entry(size_t i) const {
  const uint8_t* entry = record_ + kRecordHeader + kSectionHeader + i * kEntrySize;
  return {plat::GetLE16(entry), plat::GetLE32(entry + 2), plat::GetLE32(entry + 6)};
}

bool CRecordView::At(size_t offset, SSectionView* section) const {
  if (offset > size_ || size_ - offset < kSectionHeader) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  const uint8_t* header = record_ + offset;
  const SSectionHeader fields = ParseSectionHeader(header);
  const uint32_t length = fields.Length;
  if (length < kSectionHeader || length > size_ - offset) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  section->Crc = fields.Crc;
  section->Id = fields.Id;
  section->Length = length;
  section->Version = fields.Version;
  section->Protocol = fields.Protocol;
  section->Header = header;
  section->Bytes = header + kSectionHeader;
  section->Size = length - kSectionHeader;
  return true;
}

bool CRecordView::Find(uint16_t id, SSectionView* section) const {
  for (size_t i = 0; i < entries_; ++i) {
    const SSectionEntry entry = Entry(i);
    if (entry.Id != id) continue;
    if (entry.Length == 0 || entry.Index == 0) return plat::FailWith(plat::kErrSuccess);
    return At(entry.Index - 1, section);
  }
  return plat::FailWith(plat::kErrSuccess);
}
