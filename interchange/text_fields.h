// Small text helpers the interchange readers share: trimming, splitting into fields,
// numbers in the C locale whatever the process's locale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace ktx::interchange {

std::string Trim(const std::string& text);
// Lower-case ASCII.
std::string Lowered(std::string text);
// The lines of `text`, without their "\n" or "\r\n".
std::vector<std::string> Lines(const std::string& text);
// Fields separated by blanks or tabs.
std::vector<std::string> Words(const std::string& text);

// The whole of `text` as a number; false when anything else is in it.
bool ParseDouble(const std::string& text, double* value);
bool ParseInt(const std::string& text, int64_t* value);

// `value` with up to `digits` significant digits and no trailing zeros ("200", "327.76").
std::string ShortNumber(double value, int digits = 10);

// UTF-8 text (bytes that are no UTF-8 taken as Latin-1) as UTF-16, for the records.
plat::WideString WideFromUtf8(const std::string& text);

}  // namespace ktx::interchange
