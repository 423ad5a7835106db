#include "plot/sheet.h"

#include <cmath>

namespace scpecg::plot {

std::vector<double> GridLines(double start, double length, double step) {
  std::vector<double> lines;
  // Counted in whole steps so that the positions do not drift.
  const auto count = static_cast<long>(std::floor(length / step + 1e-9));
  for (long k = 0; k <= count; ++k) lines.push_back(start + static_cast<double>(k) * step);
  return lines;
}

std::string CleanText(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // Length of a well-formed UTF-8 sequence starting here, or 0.
    size_t length = byte < 0x80             ? 1
                    : (byte & 0xE0) == 0xC0 ? 2
                    : (byte & 0xF0) == 0xE0 ? 3
                    : (byte & 0xF8) == 0xF0 ? 4
                                            : 0;
    if (byte == 0xC0 || byte == 0xC1 || byte > 0xF4 || i + length > text.size()) length = 0;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 0;
    }
    if (length > 2) {
      // Overlong forms, UTF-16 surrogates and code points beyond U+10FFFF.
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if ((byte == 0xE0 && next < 0xA0) || (byte == 0xED && next >= 0xA0) ||
          (byte == 0xF0 && next < 0x90) || (byte == 0xF4 && next >= 0x90)) {
        length = 0;
      }
    }
    if (length == 0 || (length == 1 && (byte < 0x20 || byte == 0x7F))) {
      out += '?';  // no control characters or broken sequences in a drawing
      ++i;
      continue;
    }
    out.append(text, i, length);
    i += length;
  }
  return out;
}

}  // namespace scpecg::plot
