// Section 1 text off Windows: Windows-1252, so that files read the same as on a Windows
// host with that code page. Bytes 0x80-0x9F go through a table; the rest are Latin-1.
#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"

namespace plat {
namespace {

// 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined; like MultiByteToWideChar they map to
// the C1 control of the same value, and back.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

char ToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

bool WideToAnsi(const OleChar* text, int32_t length, std::string* out) {
  if (!out || length < -1 || (!text && length != 0)) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t count =
        length < 0 ? std::char_traits<OleChar>::length(text) : static_cast<size_t>(length);
    std::string result;
    result.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      // A character beyond the BMP is one character the code page lacks: one '?'.
      if (IsHighSurrogate(text[i]) && i + 1 < count && IsLowSurrogate(text[i + 1])) ++i;
      result += ToAnsi(text[i]);
    }
    *out = std::move(result);
    return true;
  });
}

bool AnsiToWide(const char* text, int32_t length, WideString* out) {
  if (!out || length < -1 || (!text && length != 0)) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t count =
        length < 0 ? std::char_traits<char>::length(text) : static_cast<size_t>(length);
    WideString result;
    result.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      result += byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
    }
    *out = std::move(result);
    return true;
  });
}

}  // namespace plat
