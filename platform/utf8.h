// UTF-8 to UTF-16 one code point at a time, for the decoders that differ only in what
// they make of bytes that are no UTF-8.
#pragma once

#include <cstddef>

#include "platform/text.h"

namespace plat {

// The UTF-8 sequence that starts `bytes` (`size` of them, at least 1): its length, its
// code point in *code; 0 when it is none (a bad lead or following byte, cut short, an
// overlong form, a surrogate or beyond U+10FFFF).
inline size_t DecodeUtf8(const unsigned char* bytes, size_t size, char32_t* code) {
  const unsigned lead = bytes[0];
  const size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x06 ? 2
                        : (lead >> 4) == 0x0E ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
  if (length == 0 || length > size) return 0;
  char32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((bytes[k] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (bytes[k] & 0x3Fu);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  *code = value;
  return length;
}

// Appends a code point of DecodeUtf8, as a surrogate pair above U+FFFF.
inline void AppendUtf16(char32_t code, WideString* out) {
  if (code >= 0x10000) {
    code -= 0x10000;
    out->push_back(static_cast<OleChar>(0xD800 + (code >> 10)));
    out->push_back(static_cast<OleChar>(0xDC00 + (code & 0x3FF)));
  } else {
    out->push_back(static_cast<OleChar>(code));
  }
}

}  // namespace plat
