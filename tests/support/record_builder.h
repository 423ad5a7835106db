// Assembles SCP-ECG records byte by byte for tests, from the framing rules alone:
// its CRC is computed bit by bit, never with the library's table-driven CCRC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<uint8_t>;

// CRC-CCITT (0x1021, start 0xFFFF, no reflection, no final XOR), bit by bit.
uint16_t Crc16(const uint8_t* data, size_t count);
inline uint16_t Crc16(const std::string& text) {
  return Crc16(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void PutU16(Bytes& bytes, size_t offset, uint16_t value);
void PutU32(Bytes& bytes, size_t offset, uint32_t value);
void AppendU16(Bytes& bytes, uint16_t value);
void AppendU32(Bytes& bytes, uint32_t value);

class RecordBuilder {
 public:
  // Adds a section after Section 0, in the order added. By default it is listed in
  // Section 0: sections 1-11 in their fixed entry, 12 and up after the fixed entries.
  RecordBuilder& Section(uint16_t id, Bytes body);
  // Modifiers of the section added last.
  RecordBuilder& HeaderId(uint16_t id);  // the ID written in its own header
  RecordBuilder& BadCrc();               // its stored CRC is wrong
  RecordBuilder& Unlisted();             // no automatic pointer entry
  RecordBuilder& Versions(uint8_t section, uint8_t protocol);

  // A further pointer entry after the automatic ones, pointing at section number
  // `ordinal` (0-based, in the order added).
  RecordBuilder& EntryFor(size_t ordinal);
  // A further pointer entry with literal values.
  RecordBuilder& Entry(uint16_t id, uint32_t length, uint32_t index);

  RecordBuilder& Section0Length(uint32_t length);  // overrides only the length fields
  RecordBuilder& BadRecordCrc();

  Bytes Build() const;

  // Byte offset of section number `ordinal` in the built record (Section 0 excluded).
  size_t OffsetOf(size_t ordinal) const;

 private:
  struct PendingSection {
    uint16_t Id;
    uint16_t HeaderId;
    Bytes Body;
    bool Listed = true;
    bool BadCrc = false;
    uint8_t SectionVersion = 10;
    uint8_t ProtocolVersion = 0;
  };
  struct PendingEntry {
    uint16_t Id;
    uint32_t Length;
    uint32_t Index;
    std::optional<size_t> Ordinal;
  };
  size_t Section0Size() const;
  std::vector<PendingEntry> Entries() const;

  std::vector<PendingSection> sections_;
  std::vector<PendingEntry> extraEntries_;
  std::optional<uint32_t> section0Length_;
  bool badRecordCrc_ = false;
};

// A complete record with the usual 12-lead layout: Sections 1, 3 and 6 with small
// bodies, all CRCs right.
Bytes MinimalRecord();

}  // namespace test
