// Huffman tables of SCP-ECG Section 2: the standard's default table and the tables a
// record brings, with the table switching codes and the original-value escapes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/export.h"

struct SHuffmanCode {
  uint8_t PrefixBits = 0;  // bits of the code itself
  uint8_t TotalBits = 0;   // prefix plus the bits of an original value that follows it
  uint8_t Mode = 1;        // 1 a value (or escape), 0 switch to table number Value
  int16_t Value = 0;
  uint32_t Code = 0;  // the prefix bits, first bit of the stream in bit 0 as stored
};

struct SHuffmanTables {
  // Section 2's count when the record uses the default table instead of its own.
  static constexpr uint16_t kDefaultTableId = 19999;

  uint16_t Declared = 0;  // the count as stored: 19999 or the number of tables
  std::vector<std::vector<SHuffmanCode>> Tables;

  // A single table whose only code is a 16-bit original value: no compression at
  // all, the samples are plain little-endian words (some handheld recorders).
  bool IsPlain16() const;
};

// The standard's default table: 0, +-1 .. +-8 by code length, then the 8-bit and
// 16-bit original-value escapes (19 codes).
KTX_API std::vector<SHuffmanCode> DefaultHuffmanTable();

// Parses a Section 2 body; false with 13 when a table or code does not fit the body
// or a code is malformed.
KTX_API bool ParseHuffmanTables(const uint8_t* body, size_t size, SHuffmanTables* tables);
