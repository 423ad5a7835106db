#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "record/crc.h"

namespace {

uint16_t CrcOf(const char* text) {
  CCRC crc;
  crc.Add(reinterpret_cast<const uint8_t*>(text), static_cast<uint32_t>(std::strlen(text)));
  return crc.Value();
}

TEST(Crc, PublishedCheckValues) {
  EXPECT_EQ(CrcOf("123456789"), 0x29B1);
  EXPECT_EQ(CrcOf("abc"), 0x514A);
  EXPECT_EQ(CrcOf(""), 0xFFFF);

  CCRC crc;
  const uint8_t byte = 0x5A;
  crc.Add(&byte, 1);
  crc.Reset();
  EXPECT_EQ(crc.Value(), 0xFFFF);
}

TEST(Crc, ChunkedInputAndStoredValueCheck) {
  const char* text = "SCP-ECG record bytes covered by the checksum";
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  const auto size = static_cast<uint32_t>(std::strlen(text));

  CCRC chunked;
  chunked.Add(bytes, 5);
  chunked.Add(bytes + 5, 0);
  chunked.Add(bytes + 5, size - 5);
  const uint16_t whole = CrcOf(text);
  EXPECT_EQ(chunked.Value(), whole);

  // A stored CRC (low byte first) fed high byte then low byte after the covered
  // bytes leaves the register at zero, the way records are verified.
  const uint8_t stored[2] = {static_cast<uint8_t>(whole & 0xFF), static_cast<uint8_t>(whole >> 8)};
  chunked.Add(&stored[1], 1);
  chunked.Add(&stored[0], 1);
  EXPECT_EQ(chunked.Value(), 0);

  CCRC digits;
  const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x29, 0xB1};
  digits.Add(check, sizeof(check));
  EXPECT_EQ(digits.Value(), 0);
}

}  // namespace
