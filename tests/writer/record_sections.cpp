#include "record_sections.h"

namespace test {

namespace {

uint32_t U32(const Bytes& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::vector<PointerEntry> PointerTable(const Bytes& record) {
  std::vector<PointerEntry> table;
  const uint32_t length = U32(record, 6 + 4);
  for (size_t at = 6 + 16; at + 10 <= 6 + length && at + 10 <= record.size(); at += 10) {
    table.push_back({static_cast<uint16_t>(record[at] | record[at + 1] << 8), U32(record, at + 2),
                     U32(record, at + 6)});
  }
  return table;
}

std::map<uint16_t, Bytes> Sections(const Bytes& record) {
  std::map<uint16_t, Bytes> sections;
  for (const PointerEntry& entry : PointerTable(record)) {
    if (entry.Length == 0 || entry.Index == 0 || sections.count(entry.Id)) continue;
    if (entry.Index - 1 + entry.Length > record.size()) continue;
    sections[entry.Id] =
        Bytes(record.begin() + entry.Index - 1, record.begin() + entry.Index - 1 + entry.Length);
  }
  return sections;
}

}  // namespace test
