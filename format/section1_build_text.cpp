// Section 1 text and number encoding for the writer.
#include "format/section1_build.h"
#include "platform/errors.h"

namespace ktx::section1 {

bool AnsiText(const plat::OleChar* text, std::string* out) {
  out->clear();
  if (text == nullptr || text[0] == 0) return true;
  if (!plat::WideToAnsi(text, -1, out)) {
    // Whatever the conversion reported (its own buffer included), the text is unusable.
    out->clear();
    return plat::FailWith(plat::kErrInvalidData);
  }
  return true;
}

void AppendText(const std::string& text, Bytes* data) {
  if (text.empty()) return;
  data->insert(data->end(), text.begin(), text.end());
  data->push_back(0);
}

void AppendU16(uint16_t value, Bytes* data) {
  data->push_back(static_cast<uint8_t>(value));
  data->push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace ktx::section1
