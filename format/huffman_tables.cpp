#include "format/huffman_tables.h"

#include "platform/errors.h"
#include "platform/little_endian.h"

namespace {

// Code with `ones` leading 1 bits, then the bits of `tail` (tailBits of them, most
// significant first), held with the stream's first bit in bit 0 as Section 2 stores it.
SHuffmanCode Code(unsigned ones, uint32_t tail, unsigned tailBits, int16_t value,
                  unsigned valueBits = 0) {
  SHuffmanCode code;
  code.PrefixBits = static_cast<uint8_t>(ones + tailBits);
  code.TotalBits = static_cast<uint8_t>(code.PrefixBits + valueBits);
  code.Value = value;
  for (unsigned i = 0; i < ones; ++i) code.Code |= 1u << i;
  for (unsigned i = 0; i < tailBits; ++i) {
    if ((tail >> (tailBits - 1 - i)) & 1) code.Code |= 1u << (ones + i);
  }
  return code;
}

}  // namespace

std::vector<SHuffmanCode> DefaultHuffmanTable() {
  // 0 -> "0"; +-n -> n+1 ones... written out: 1 "100", -1 "101", 2 "1100", -2 "1101",
  // up to 8 "1111111100", -8 "1111111101"; "1111111110" + 8 bits; "1111111111" + 16 bits.
  std::vector<SHuffmanCode> table;
  table.push_back(Code(0, 0, 1, 0));
  for (int16_t n = 1; n <= 8; ++n) {
    const unsigned ones = static_cast<unsigned>(n);
    table.push_back(Code(ones, 0b00, 2, n));
    table.push_back(Code(ones, 0b01, 2, static_cast<int16_t>(-n)));
  }
  table.push_back(Code(9, 0, 1, 0, 8));
  table.push_back(Code(10, 0, 0, 0, 16));
  return table;
}

bool SHuffmanTables::IsPlain16() const {
  return Tables.size() == 1 && Tables[0].size() == 1 && Tables[0][0].PrefixBits == 0 &&
         Tables[0][0].TotalBits == 16 && Tables[0][0].Mode == 1;
}

bool ParseHuffmanTables(const uint8_t* body, size_t size, SHuffmanTables* tables) {
  if (body == nullptr || tables == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  tables->Tables.clear();
  if (size < 2) return plat::FailWith(plat::kErrInvalidData);
  tables->Declared = plat::GetLE16(body);
  if (tables->Declared == SHuffmanTables::kDefaultTableId) {
    tables->Tables.push_back(DefaultHuffmanTable());
    return true;
  }
  if (tables->Declared == 0) return plat::FailWith(plat::kErrInvalidData);
  size_t at = 2;
  for (unsigned t = 0; t < tables->Declared; ++t) {
    if (at + 2 > size) return plat::FailWith(plat::kErrInvalidData);
    const unsigned codes = plat::GetLE16(body + at);
    at += 2;
    // Nine bytes a code: checked before anything is allocated for them.
    if (codes == 0 || codes * size_t{9} > size - at) return plat::FailWith(plat::kErrInvalidData);
    std::vector<SHuffmanCode> table(codes);
    for (SHuffmanCode& code : table) {
      const uint8_t* p = body + at;
      code.PrefixBits = p[0];
      code.TotalBits = p[1];
      code.Mode = p[2];
      code.Value = static_cast<int16_t>(plat::GetLE16(p + 3));
      code.Code = plat::GetLE16(p + 5) | static_cast<uint32_t>(plat::GetLE16(p + 7)) << 16;
      at += 9;
      if (code.PrefixBits > 32 || code.TotalBits < code.PrefixBits ||
          code.TotalBits - code.PrefixBits > 16 || code.Mode > 1) {
        return plat::FailWith(plat::kErrInvalidData);
      }
    }
    tables->Tables.push_back(std::move(table));
  }
  if (!tables->IsPlain16()) {
    for (const auto& table : tables->Tables) {
      for (const SHuffmanCode& code : table) {
        if (code.PrefixBits == 0) return plat::FailWith(plat::kErrInvalidData);
      }
    }
  }
  return true;
}
