// Command-line text is UTF-8; the library's records hold UTF-16.
#pragma once

#include <string>

#include "platform/text.h"

namespace scpecg {

// False for text that is not well-formed UTF-8 (overlong forms, surrogates and code
// points above U+10FFFF included).
bool Utf8ToWide(const std::string& text, plat::WideString* out);

}  // namespace scpecg
