// The lookup decoder against the bit walk: every lookup width (0 is the walk alone)
// must give the values the tests' encoder put in, the same refusals, and the same
// results on random tables and streams. (SamplesDecode holds it to the sample records.)
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "format/huffman_decoder.h"
#include "platform/errors.h"
#include "support/stream_encoder.h"

namespace {

using test::Bytes;
using test::TestTable;

constexpr unsigned kWidths[] = {0, 1, 3, CHuffmanDecoder::kLookupBits};

SHuffmanTables Parsed(const Bytes& section2) {
  SHuffmanTables tables;
  EXPECT_TRUE(ParseHuffmanTables(section2.data(), section2.size(), &tables));
  return tables;
}

struct SResult {
  bool Ok;
  uint32_t Error;
  std::vector<int16_t> Values;
  bool operator==(const SResult& o) const {
    return Ok == o.Ok && Error == o.Error && Values == o.Values;
  }
};

SResult Decode(const SHuffmanTables& tables, unsigned width, const Bytes& stream, size_t count) {
  SResult result{};
  plat::SetLastError(0);
  result.Ok =
      CHuffmanDecoder(tables, width).Decode(stream.data(), stream.size(), count, &result.Values);
  result.Error = plat::LastError();
  return result;
}

// Codes of 13 to 20 bits (past any lookup), a switch there and back, both escapes.
std::vector<TestTable> LongCodeTables() {
  return {{{"0", 0},
           {"10", 1},
           {"110", -1},
           {"1110000000000", 700},
           {"1110000000001", 0, 0, 2},
           {"11100000000100000000", -700},
           {"1111", 0, 8},
           {"111000000001100", 0, 16}},
          {{"1", 5}, {"00", 0, 0, 1}, {"01000000000000", 0, 16}}};
}

TEST(HuffmanLookup, EqualsTheBitWalkOnHandBuiltStreams) {
  const std::vector<TestTable> standard{test::StandardDefaultTable()};
  const std::vector<int16_t> everyCode{0,  1,   -1,   2,   -2,   3,     -3,    4,  -4,
                                       5,  -5,  6,    -6,  7,    -7,    8,     -8, 9,
                                       -9, 127, -128, 128, -129, 32767, -32768};
  const std::vector<int16_t> longCodes{0, 1, 700, -700, 5, 5, 4000, -1, 100, -20000, 0};
  // "0" twice and "01" behind it: the shortest code wins, the first of equals.
  const std::vector<TestTable> shadowed{{{"0", 1}, {"0", 2}, {"01", 3}}};
  const std::vector<TestTable> gap{{{"0", 0}, {"10", 1}, {"110", 0, 0, 3}}};
  const struct {
    std::vector<TestTable> Tables;
    Bytes Stream;  // empty: the encoded Expected.Values, and every cut of it
    SResult Expected;
  } cases[] = {
      {standard, {}, {true, 0, everyCode}},
      {LongCodeTables(), {}, {true, 0, longCodes}},
      {shadowed, {0x00}, {true, 0, {1, 1, 1, 1}}},
      {gap, {0x4E}, {false, plat::kErrInvalidData, {0, 1, 0}}},  // 0 10 0 111: no code
      {gap, {0x6C}, {false, plat::kErrInvalidData, {0}}},        // 0 110: table 3 missing
  };
  for (const auto& c : cases) {
    const SHuffmanTables tables = Parsed(test::Section2Body(c.Tables));
    const Bytes stream =
        c.Stream.empty() ? test::HuffmanEncode(c.Tables, c.Expected.Values) : c.Stream;
    const size_t count = c.Stream.empty() ? c.Expected.Values.size() : 4;
    for (unsigned width : kWidths) {
      SCOPED_TRACE(width);
      EXPECT_EQ(Decode(tables, width, stream, count), c.Expected);
      // A shorter stream loses part of the last code: 13, after the values before it.
      for (size_t cut = 0; c.Stream.empty() && cut < stream.size(); ++cut) {
        const SResult result =
            Decode(tables, width, Bytes(stream.begin(), stream.begin() + cut), count);
        EXPECT_EQ(result.Error, plat::kErrInvalidData) << cut;
        EXPECT_TRUE(
            !result.Ok && result.Values.size() < count &&
            std::equal(result.Values.begin(), result.Values.end(), c.Expected.Values.begin()));
      }
    }
  }
}

TEST(HuffmanLookup, EqualsTheBitWalkOnRandomTablesAndStreams) {
  std::mt19937 random(29);
  for (int round = 0; round < 3000; ++round) {
    std::vector<TestTable> tables(1 + random() % 3);
    for (TestTable& table : tables) {
      for (size_t n = 1 + random() % 10; n > 0; --n) {
        test::TestCode code;
        code.Value = static_cast<int>(random() % 200) - 100;
        for (size_t bits = 1 + random() % (random() % 2 ? 4 : 16); bits > 0; --bits)
          code.Bits += random() % 2 ? '1' : '0';
        code.RawBits = random() % 5 == 0 ? 8 : 0;
        code.SwitchTo = random() % 6 == 0 ? static_cast<int>(random() % 5) : 0;
        table.push_back(code);
      }
    }
    Bytes stream(random() % 24);
    for (uint8_t& byte : stream) byte = static_cast<uint8_t>(random());
    const SHuffmanTables parsed = Parsed(test::Section2Body(tables));
    const size_t count = random() % 64;
    const SResult walk = Decode(parsed, 0, stream, count);
    for (unsigned width : {3u, CHuffmanDecoder::kLookupBits})
      ASSERT_EQ(Decode(parsed, width, stream, count), walk) << round;
  }
}

}  // namespace
