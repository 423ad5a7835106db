// Wide strings (BSTR) and conversion between UTF-16 and 8-bit text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/export.h"

namespace plat {

#ifdef _WIN32
using OleChar = wchar_t;
#else
using OleChar = char16_t;
#endif
using Bstr = OleChar*;
using WideString = std::basic_string<OleChar>;

// BSTR: a length-prefixed, zero-terminated UTF-16 string. On Windows these are the
// system's own; elsewhere a 4-byte byte count stands before the characters.
KTX_API Bstr SysAllocString(const OleChar* text);
KTX_API Bstr SysAllocStringLen(const OleChar* text, uint32_t length);
KTX_API void SysFreeString(Bstr text);
KTX_API uint32_t SysStringLen(const OleChar* text);

// Section 1 text: the ANSI code page (CP_ACP on Windows, Windows-1252 elsewhere so
// that files read the same on both). Characters the code page lacks become '?'.
// length -1 converts up to the terminator. Failure: 13.
KTX_API bool WideToAnsi(const OleChar* text, int32_t length, std::string* out);
KTX_API bool AnsiToWide(const char* text, int32_t length, WideString* out);

// UTF-8, for showing text to people and for JSON. length -1 converts up to the
// terminator. Invalid UTF-16: 13.
KTX_API bool WideToUtf8(const OleChar* text, int32_t length, std::string* out);

// File names: CP_ACP on Windows, UTF-8 elsewhere; at most 260 bytes with the
// terminator (longer: 122, invalid text: 13).
constexpr uint32_t kMaxPath = 260;
KTX_API bool WideToFileName(const OleChar* name, std::string* out);
KTX_API bool FileNameToWide(const char* name, WideString* out);

}  // namespace plat
