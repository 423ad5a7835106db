// Section 1 tags as a list, read back from written bytes by the tag layout alone
// (number u8, length u16 low byte first, data; tag 255 ends), for the editing tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
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

inline Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Applies tag changes written as "number: data; ...", data being byte values (0x.. for
// hex) and 'texts' (each with its terminator), or "-" to remove the tag:
// Apply(tags, "0: 'Doe'; 5: 0xB2 7 4 2; 201: 1 'SR'; 27: -").
inline void Apply(TagList& tags, const std::string& changes) {
  std::istringstream entries(changes);
  for (std::string entry; std::getline(entries, entry, ';');) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) continue;
    const auto number = static_cast<uint8_t>(std::stoi(entry.substr(0, colon)));
    Bytes data;
    bool erase = false;
    for (size_t at = colon + 1; at < entry.size(); ++at) {
      if (entry[at] == ' ') continue;
      const size_t end = entry.find(entry[at] == '\'' ? '\'' : ' ', at + 1);
      const std::string field = entry.substr(at, end - at);
      if (field[0] == '\'') {
        data = Concat(data, Text(field.substr(1)));
      } else if (field == "-") {
        erase = true;
      } else {
        data.push_back(static_cast<uint8_t>(std::stoi(field, nullptr, 0)));
      }
      at = end == std::string::npos ? entry.size() : end;
    }
    if (erase) {
      EraseTag(tags, number);
    } else {
      SetTag(tags, number, data);
    }
  }
}

inline TagList ParseTags(const std::string& tags) {
  TagList list;
  Apply(list, tags);
  return list;
}

// Tag 14 as the writer lays out default records: the 36-byte block with the model
// "KTS  ", no revision and no serial text.
inline const char* const kDefaultDeviceTag =
    "14: 1 0 1 0 0 0 1 100 'KTS  ' 10 0xFF 0 0xFF 0 '255.255.255.255' 0";

inline plat::WideString Wide(const char* windows1252) {
  plat::WideString out;
  EXPECT_TRUE(plat::AnsiToWide(windows1252, -1, &out));
  return out;
}

// A library string of the Windows-1252 `text`, for the records the tests fill.
inline plat::Bstr NewText(const char* windows1252) {
  return plat::SysAllocString(Wide(windows1252).c_str());
}

// A library string as UTF-8; empty for null.
inline std::string Utf8(const plat::OleChar* text) {
  std::string out;
  if (text != nullptr) {
    EXPECT_TRUE(plat::WideToUtf8(text, -1, &out));
  }
  return out;
}

}  // namespace test
