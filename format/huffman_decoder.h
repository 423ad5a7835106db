// Huffman decoding of Sections 5 and 6, built once per record from its tables. Each
// table gets a lookup on the next few bits that resolves its short codes in one step;
// codes longer than the lookup are found by walking the stream bit by bit. Either way
// the code found is the shortest that matches, the first of the table among equals.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/huffman_tables.h"

class CBitReader;

class CHuffmanDecoder {
 public:
  // Lookup width: the default table's codes are at most 10 bits long.
  static constexpr unsigned kLookupBits = 12;

  // Keeps pointers into `tables`, which must outlive the decoder. `lookupBits` 0
  // decodes by the bit walk alone (what the lookup must equal).
  explicit CHuffmanDecoder(const SHuffmanTables& tables, unsigned lookupBits = kLookupBits);

  // Decodes exactly `count` values; false with 13 when the stream ends first, holds a
  // bit pattern that is no code or switches to a table that does not exist. `unused`,
  // when given, receives the bits left after the last value.
  bool Decode(const uint8_t* bytes, size_t size, size_t count, std::vector<int16_t>* out,
              size_t* unused = nullptr) const;

 private:
  struct SEntry {
    int16_t Value = 0;
    uint8_t Length = 0;  // prefix bits; 0: no code of at most Bits bits matches
    uint8_t Extra = 0;   // original-value bits after the prefix, or kSwitch
  };
  static constexpr uint8_t kSwitch = 0xFF;

  struct STable {
    std::vector<const SHuffmanCode*> ByLength;  // codes by prefix length, table order kept
    std::array<uint32_t, 34> Start{};           // codes of length n: ByLength[Start[n], Start[n+1])
    unsigned Bits = 0;                          // lookup width, at most the longest code
    std::vector<SEntry> Lookup;                 // 2^Bits entries, first stream bit highest
  };

  void BuildLookup(STable* table, unsigned maxBits, size_t* budget) const;
  // The code at the reader's position, by the bit walk; null at the end or with none.
  const SHuffmanCode* Walk(const STable& table, CBitReader* bits) const;

  std::vector<STable> index_;
};
