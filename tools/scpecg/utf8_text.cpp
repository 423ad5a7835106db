#include "utf8_text.h"

namespace scpecg {

bool Utf8ToWide(const std::string& text, plat::WideString* out) {
  plat::WideString wide;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x06 ? 2
                          : (lead >> 4) == 0x0E ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // The shortest form only, and no surrogate halves.
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
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
  *out = std::move(wide);
  return true;
}

}  // namespace scpecg
