#include "utf8_text.h"

#include "platform/utf8.h"

namespace scpecg {

bool Utf8ToWide(const std::string& text, plat::WideString* out) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  plat::WideString wide;
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const size_t length = plat::DecodeUtf8(bytes + i, text.size() - i, &code);
    if (length == 0) return false;
    plat::AppendUtf16(code, &wide);
    i += length;
  }
  *out = std::move(wide);
  return true;
}

}  // namespace scpecg
