// Section 1 tags as a list, read back from written bytes by the tag layout alone
// (number u8, length u16 low byte first, data; tag 255 ends), for the editing tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "support/record_builder.h"
#include "support/section1_bytes.h"

namespace test {

using TagList = std::vector<std::pair<uint8_t, Bytes>>;

// The tags of a whole section (header included), the terminator excluded.
inline TagList Tags(const Bytes& section) {
  TagList tags;
  for (size_t at = 16; at + 3 <= section.size();) {
    const uint8_t number = section[at];
    const size_t length = section[at + 1] | section[at + 2] << 8;
    if (number == 255 || at + 3 + length > section.size()) break;
    tags.emplace_back(number,
                      Bytes(section.begin() + static_cast<std::ptrdiff_t>(at + 3),
                            section.begin() + static_cast<std::ptrdiff_t>(at + 3 + length)));
    at += 3 + length;
  }
  return tags;
}

inline Bytes Section1Body(const TagList& tags) {
  Bytes body;
  for (const auto& [number, data] : tags) {
    const Bytes tag = Tag(number, data);
    body.insert(body.end(), tag.begin(), tag.end());
  }
  const Bytes end = EndTag();
  body.insert(body.end(), end.begin(), end.end());
  return body;
}

// Replaces tag `number`, or inserts it in ascending order.
inline void SetTag(TagList& tags, uint8_t number, const Bytes& data) {
  auto at =
      std::find_if(tags.begin(), tags.end(), [&](const auto& t) { return t.first >= number; });
  if (at != tags.end() && at->first == number) {
    at->second = data;
  } else {
    tags.insert(at, {number, data});
  }
}

inline void EraseTag(TagList& tags, uint8_t number) {
  tags.erase(
      std::remove_if(tags.begin(), tags.end(), [&](const auto& t) { return t.first == number; }),
      tags.end());
}

// Text tag data: the characters and a terminating 0.
inline Bytes Text(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

inline Bytes U16(uint16_t value) {
  Bytes bytes;
  test::AppendU16(bytes, value);
  return bytes;
}

inline Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Tag 14 as the writer lays it out: the 36-byte block, then revision and serial texts.
inline Bytes DeviceTag(uint16_t deviceId, const std::string& model, const std::string& revision,
                       const std::string& serial) {
  Bytes block = {1, 0,  1, 0, static_cast<uint8_t>(deviceId), static_cast<uint8_t>(deviceId >> 8),
                 1, 100};
  Bytes description(model.begin(), model.end());
  description.resize(6, 0);
  block = Concat(block, description);
  block = Concat(block, {10, 0xFF, 0, 0xFF, 0});
  const std::string address = "255.255.255.255";
  block.insert(block.end(), address.begin(), address.end());
  block.push_back(0);
  block.push_back(static_cast<uint8_t>(revision.empty() ? 0 : revision.size() + 1));
  if (!revision.empty()) block = Concat(block, Text(revision));
  if (!serial.empty()) block = Concat(block, Text(serial));
  return block;
}

inline plat::WideString Wide(const char* windows1252) {
  plat::WideString out;
  EXPECT_TRUE(plat::AnsiToWide(windows1252, -1, &out));
  return out;
}

}  // namespace test
