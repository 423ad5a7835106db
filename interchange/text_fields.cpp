#include "interchange/text_fields.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "platform/utf8.h"

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
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  plat::WideString wide;
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const size_t length = plat::DecodeUtf8(bytes + i, text.size() - i, &code);
    if (length == 0) {
      wide.push_back(static_cast<plat::OleChar>(bytes[i]));  // Latin-1
      ++i;
      continue;
    }
    plat::AppendUtf16(code, &wide);
    i += length;
  }
  return wide;
}

}  // namespace ktx::interchange
