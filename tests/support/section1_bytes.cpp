#include "support/section1_bytes.h"

namespace test {

Bytes Tag(uint8_t tag, const Bytes& data) {
  Bytes bytes = {tag};
  AppendU16(bytes, static_cast<uint16_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

Bytes TextTag(uint8_t tag, const std::string& windows1252Text) {
  Bytes data(windows1252Text.begin(), windows1252Text.end());
  data.push_back(0);
  return Tag(tag, data);
}

Bytes EndTag() {
  return Tag(255, {});
}

Bytes Body(std::initializer_list<Bytes> tags) {
  Bytes body;
  for (const Bytes& tag : tags) body.insert(body.end(), tag.begin(), tag.end());
  return body;
}

}  // namespace test
