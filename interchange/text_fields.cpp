#include "interchange/text_fields.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace ktx::interchange {

std::string Trim(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

bool ParseDouble(const std::string& text, double* value) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  const auto result = std::from_chars(first, last, *value);
  return result.ec == std::errc() && result.ptr == last;
}

bool ParseInt(const std::string& text, int64_t* value) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  if (*first == '+') ++first;
  const auto result = std::from_chars(first, last, *value);
  return result.ec == std::errc() && result.ptr == last;
}

std::string ShortNumber(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.*g", digits, value);
  return text;
}

plat::WideString WideFromUtf8(const std::string& text) {
  plat::WideString wide;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  size_t i = 0;
  while (i < size) {
    const unsigned lead = bytes[i];
    const size_t length = lead < 0x80         ? 1
                          : (lead >> 5) == 6  ? 2
                          : (lead >> 4) == 14 ? 3
                          : (lead >> 3) == 30 ? 4
                                              : 0;
    char32_t code = 0;
    bool valid = length > 0 && i + length <= size;
    if (valid) {
      code = length == 1 ? lead : lead & (0x7Fu >> length);
      for (size_t k = 1; k < length && valid; ++k) {
        valid = (bytes[i + k] & 0xC0) == 0x80;
        code = (code << 6) | (bytes[i + k] & 0x3Fu);
      }
      // Overlong forms, surrogates and code points beyond Unicode are no UTF-8.
      static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
      valid = valid && code >= kSmallest[length] && code <= 0x10FFFF &&
              (code < 0xD800 || code > 0xDFFF);
    }
    if (!valid) {
      wide.push_back(static_cast<plat::OleChar>(lead));  // Latin-1
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      wide.push_back(static_cast<plat::OleChar>(0xD800 + (code >> 10)));
      wide.push_back(static_cast<plat::OleChar>(0xDC00 + (code & 0x3FF)));
    } else {
      wide.push_back(static_cast<plat::OleChar>(code));
    }
    i += length;
  }
  return wide;
}

}  // namespace ktx::interchange
