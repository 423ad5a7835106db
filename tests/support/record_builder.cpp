#include "support/record_builder.h"

namespace test {

uint16_t Crc16(const uint8_t* data, size_t count) {
  uint16_t reg = 0xFFFF;
  for (size_t i = 0; i < count; ++i) {
    reg = static_cast<uint16_t>(reg ^ (data[i] << 8));
    for (int bit = 0; bit < 8; ++bit) {
      reg = (reg & 0x8000) ? static_cast<uint16_t>((reg << 1) ^ 0x1021)
                           : static_cast<uint16_t>(reg << 1);
    }
  }
  return reg;
}

void PutU16(Bytes& bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void AppendU16(Bytes& bytes, uint16_t value) {
  bytes.resize(bytes.size() + 2);
  PutU16(bytes, bytes.size() - 2, value);
}

void AppendU32(Bytes& bytes, uint32_t value) {
  bytes.resize(bytes.size() + 4);
  PutU32(bytes, bytes.size() - 4, value);
}

RecordBuilder& RecordBuilder::Section(uint16_t id, Bytes body) {
  sections_.push_back(PendingSection{id, id, std::move(body)});
  return *this;
}

RecordBuilder& RecordBuilder::HeaderId(uint16_t id) {
  sections_.back().HeaderId = id;
  return *this;
}

RecordBuilder& RecordBuilder::BadCrc() {
  sections_.back().BadCrc = true;
  return *this;
}

RecordBuilder& RecordBuilder::Unlisted() {
  sections_.back().Listed = false;
  return *this;
}

RecordBuilder& RecordBuilder::Versions(uint8_t section, uint8_t protocol) {
  sections_.back().SectionVersion = section;
  sections_.back().ProtocolVersion = protocol;
  return *this;
}

RecordBuilder& RecordBuilder::EntryFor(size_t ordinal) {
  extraEntries_.push_back(PendingEntry{sections_.at(ordinal).Id, 0, 0, ordinal});
  return *this;
}

RecordBuilder& RecordBuilder::Entry(uint16_t id, uint32_t length, uint32_t index) {
  extraEntries_.push_back(PendingEntry{id, length, index, std::nullopt});
  return *this;
}

RecordBuilder& RecordBuilder::Section0Length(uint32_t length) {
  section0Length_ = length;
  return *this;
}

RecordBuilder& RecordBuilder::BadRecordCrc() {
  badRecordCrc_ = true;
  return *this;
}

size_t RecordBuilder::Section0Size() const {
  return 16 + 10 * Entries().size();
}

size_t RecordBuilder::OffsetOf(size_t ordinal) const {
  size_t offset = 6 + Section0Size();
  for (size_t i = 0; i < ordinal; ++i) offset += 16 + sections_[i].Body.size();
  return offset;
}

std::vector<RecordBuilder::PendingEntry> RecordBuilder::Entries() const {
  std::vector<PendingEntry> entries;
  entries.push_back(PendingEntry{0, 0, 7, std::nullopt});  // Section 0 itself, filled in Build
  for (uint16_t id = 1; id < 12; ++id) {
    PendingEntry entry{id, 0, 0, std::nullopt};
    for (size_t i = 0; i < sections_.size(); ++i) {
      if (sections_[i].Id == id && sections_[i].Listed) {
        entry.Ordinal = i;
        break;
      }
    }
    entries.push_back(entry);
  }
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (sections_[i].Id >= 12 && sections_[i].Listed) {
      entries.push_back(PendingEntry{sections_[i].Id, 0, 0, i});
    }
  }
  entries.insert(entries.end(), extraEntries_.begin(), extraEntries_.end());
  return entries;
}

Bytes RecordBuilder::Build() const {
  const std::vector<PendingEntry> entries = Entries();
  const uint32_t section0Size = static_cast<uint32_t>(16 + 10 * entries.size());
  const uint32_t section0Field = section0Length_.value_or(section0Size);

  Bytes record(6, 0);
  auto appendHeader = [&record](uint16_t id, uint32_t length, uint8_t version, uint8_t protocol) {
    AppendU16(record, 0);  // CRC, filled last
    AppendU16(record, id);
    AppendU32(record, length);
    record.push_back(version);
    record.push_back(protocol);
    record.insert(record.end(), 6, 0);
  };

  appendHeader(0, section0Field, 10, 0);
  for (const PendingEntry& entry : entries) {
    uint32_t length = entry.Length;
    uint32_t index = entry.Index;
    if (entry.Id == 0 && !entry.Ordinal && index == 7 && length == 0) length = section0Field;
    if (entry.Ordinal) {
      length = static_cast<uint32_t>(16 + sections_[*entry.Ordinal].Body.size());
      index = static_cast<uint32_t>(OffsetOf(*entry.Ordinal) + 1);
    }
    AppendU16(record, entry.Id);
    AppendU32(record, length);
    AppendU32(record, index);
  }
  std::vector<std::pair<size_t, bool>> stretches = {{6, false}};  // start, corrupt
  for (const PendingSection& section : sections_) {
    stretches.emplace_back(record.size(), section.BadCrc);
    appendHeader(section.HeaderId, static_cast<uint32_t>(16 + section.Body.size()),
                 section.SectionVersion, section.ProtocolVersion);
    record.insert(record.end(), section.Body.begin(), section.Body.end());
  }
  for (size_t i = 0; i < stretches.size(); ++i) {
    const size_t start = stretches[i].first;
    const size_t end = i + 1 < stretches.size() ? stretches[i + 1].first : record.size();
    uint16_t crc = Crc16(record.data() + start + 2, end - start - 2);
    if (stretches[i].second) crc = static_cast<uint16_t>(crc ^ 0x5A5A);
    PutU16(record, start, crc);
  }
  PutU32(record, 2, static_cast<uint32_t>(record.size()));
  uint16_t crc = Crc16(record.data() + 2, record.size() - 2);
  if (badRecordCrc_) crc = static_cast<uint16_t>(crc ^ 0xA5A5);
  PutU16(record, 0, crc);
  return record;
}

Bytes MinimalRecord() {
  Bytes section1 = {0, 4, 0, 'D', 'o', 'e', 0, 255, 0, 0};  // last name, then tag 255
  Bytes section3 = {1, 0x04};                               // one lead, simultaneous
  AppendU32(section3, 1);                                   // start sample
  AppendU32(section3, 4);                                   // end sample
  section3.push_back(1);                                    // lead I
  Bytes section6 = {0xE8, 0x03, 0xD0, 0x07, 0, 0};          // AVM 1000 nV, 2000 us
  AppendU16(section6, 8);                                   // bytes of lead 1
  for (int sample : {10, 20, 30, 40}) AppendU16(section6, static_cast<uint16_t>(sample));
  return RecordBuilder().Section(1, section1).Section(3, section3).Section(6, section6).Build();
}

}  // namespace test
