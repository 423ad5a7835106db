// Text conversion with the system's ANSI code page.
#include <windows.h>

#include <climits>
#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"

namespace plat {
namespace {

// Converts exactly `count` units (embedded zeros included); count > 0.
bool ToAnsi(const OleChar* text, int count, std::string* out, UINT codePage = CP_ACP) {
  const int size = ::WideCharToMultiByte(codePage, 0, text, count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::string result(static_cast<size_t>(size), '\0');
  if (::WideCharToMultiByte(codePage, 0, text, count, &result[0], size, nullptr, nullptr) != size) {
    return false;
  }
  *out = std::move(result);
  return true;
}

bool ToWide(const char* text, int count, WideString* out) {
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text, count, nullptr, 0);
  if (size <= 0) return false;
  WideString result(static_cast<size_t>(size), L'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, text, count, &result[0], size) != size) return false;
  *out = std::move(result);
  return true;
}

}  // namespace

// The same for both code pages.
static bool FromWide(const OleChar* text, int32_t length, std::string* out, UINT codePage) {
  if (!out || length < -1 || (!text && length != 0)) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t count =
        length < 0 ? std::char_traits<OleChar>::length(text) : static_cast<size_t>(length);
    if (count > INT_MAX) return FailWith(kErrInvalidParameter);
    if (count == 0) {
      out->clear();
      return true;
    }
    return ToAnsi(text, static_cast<int>(count), out, codePage);
  });
}

bool WideToAnsi(const OleChar* text, int32_t length, std::string* out) {
  return FromWide(text, length, out, CP_ACP);
}

bool WideToUtf8(const OleChar* text, int32_t length, std::string* out) {
  return FromWide(text, length, out, CP_UTF8);
}

bool AnsiToWide(const char* text, int32_t length, WideString* out) {
  if (!out || length < -1 || (!text && length != 0)) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t count =
        length < 0 ? std::char_traits<char>::length(text) : static_cast<size_t>(length);
    if (count > INT_MAX) return FailWith(kErrInvalidParameter);
    if (count == 0) {
      out->clear();
      return true;
    }
    return ToWide(text, static_cast<int>(count), out);
  });
}

bool WideToFileName(const OleChar* name, std::string* out) {
  if (!name || !out) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    // Every character gives at least one byte, so a long name fails before converting.
    const size_t count = std::char_traits<OleChar>::length(name);
    if (count >= kMaxPath) return FailWith(kErrInsufficientBuffer);
    std::string bytes;
    if (count > 0 && !ToAnsi(name, static_cast<int>(count), &bytes)) return false;
    if (bytes.size() >= kMaxPath) return FailWith(kErrInsufficientBuffer);
    *out = std::move(bytes);
    return true;
  });
}

bool FileNameToWide(const char* name, WideString* out) {
  if (!name || !out) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t size = std::char_traits<char>::length(name);
    if (size >= kMaxPath) return FailWith(kErrInsufficientBuffer);
    if (size == 0) {
      out->clear();
      return true;
    }
    return ToWide(name, static_cast<int>(size), out);
  });
}

}  // namespace plat
