// BSTRs, Windows-1252 text, UTF-8 sequences and file-name conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/utf8.h"
#include "support/last_error.h"

namespace {

using plat::OleChar;
using plat::WideString;

// UTF-16 literals in the platform's OLE character type.
#ifdef _WIN32
#define OLE(text) L##text
#else
#define OLE(text) u##text
#endif

TEST(PlatformText, BstrHasByteCountPrefixAndKeepsEmbeddedZeros) {
  const OleChar source[] = {'a', 0, 'b'};
  plat::Bstr text = plat::SysAllocStringLen(source, 3);
  ASSERT_NE(text, nullptr);
  uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, 4);
  EXPECT_EQ(prefix, 6u);  // bytes, not characters
  EXPECT_EQ(WideString(text, 4), (WideString{'a', 0, 'b', 0}));
  EXPECT_EQ(plat::SysStringLen(text), 3u);
  plat::SysFreeString(text);
  // From a terminated text, and a zeroed one of a given length.
  for (plat::Bstr made : {plat::SysAllocString(OLE("ECG")), plat::SysAllocStringLen(nullptr, 3)}) {
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(plat::SysStringLen(made), 3u);
    EXPECT_EQ(made[3], 0);
    plat::SysFreeString(made);
  }
  EXPECT_EQ(plat::SysAllocString(nullptr), nullptr);
  EXPECT_EQ(plat::SysStringLen(nullptr), 0u);
  plat::SysFreeString(nullptr);
}

TEST(PlatformText, Windows1252RoundTrip) {
  // Euro, e acute, the undefined 0x81 (kept as U+0081), a plain letter.
  const char ansi[] = "\x80\xE9\x81Z";
  const WideString wide = {0x20AC, 0x00E9, 0x0081, 'Z'};
  WideString converted;
  ASSERT_TRUE(plat::AnsiToWide(ansi, -1, &converted));
  EXPECT_EQ(converted, wide);
  std::string back;
  ASSERT_TRUE(plat::WideToAnsi(wide.c_str(), -1, &back));
  EXPECT_EQ(back, ansi);
  const OleChar missing[] = {'A', 0x4E2D, 'B', 0};
  ASSERT_TRUE(plat::WideToAnsi(missing, -1, &back));
  EXPECT_EQ(back, "A?B");
  // An explicit length converts exactly that many units, zeros included.
  ASSERT_TRUE(plat::AnsiToWide("a\0b", 3, &converted));
  EXPECT_EQ(converted, WideString({'a', 0, 'b'}));
  ASSERT_TRUE(plat::WideToAnsi(converted.data(), 3, &back));
  EXPECT_EQ(back, std::string("a\0b", 3));
  ASSERT_TRUE(plat::WideToAnsi(nullptr, 0, &back));
  EXPECT_EQ(back, "");
  EXPECT_TRUE(test::FailedWith(plat::WideToAnsi(nullptr, -1, &back), 87u));
}

// Each sequence alone: its length and code point, or 0 for what is no UTF-8; the code
// point back as UTF-16.
TEST(PlatformText, Utf8SequencesAndTheirUtf16) {
  const struct {
    const char* Bytes;
    size_t Length;
    WideString Utf16;
  } cases[] = {
      {"A", 1, {0x41}},
      {"\xC3\xA9", 2, {0xE9}},
      {"\xE2\x82\xAC", 3, {0x20AC}},
      {"\xF0\x9F\x98\x80", 4, {0xD83D, 0xDE00}},  // U+1F600
      {"\xC0\xAF", 0, {}},                        // overlong '/'
      {"\xED\xA0\x80", 0, {}},                    // surrogate U+D800
      {"\xF4\x90\x80\x80", 0, {}},                // U+110000
      {"\xE2\x82", 0, {}},                        // cut short
      {"\xC3(", 0, {}},                           // no following byte
      {"\x80", 0, {}},                            // a following byte first
      {"\xF8\x88\x80\x80\x80", 0, {}},            // five bytes
  };
  for (const auto& c : cases) {
    char32_t code = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(c.Bytes);
    EXPECT_EQ(plat::DecodeUtf8(bytes, std::strlen(c.Bytes), &code), c.Length) << c.Bytes;
    WideString wide;
    if (c.Length != 0) plat::AppendUtf16(code, &wide);
    EXPECT_EQ(wide, c.Utf16) << c.Bytes;
  }
}

TEST(PlatformText, FileNamesRoundTripWithinTheLimit) {
  const WideString name = OLE("Caf\u00E9 \u00C5.scp");
#ifdef _WIN32
  const std::string expected = "Caf\xE9 \xC5.scp";  // the ANSI code page
#else
  const std::string expected = "Caf\xC3\xA9 \xC3\x85.scp";  // UTF-8
#endif
  std::string bytes;
  ASSERT_TRUE(plat::WideToFileName(name.c_str(), &bytes));
  EXPECT_EQ(bytes, expected);
  WideString back;
  ASSERT_TRUE(plat::FileNameToWide(bytes.c_str(), &back));
  EXPECT_EQ(back, name);
  const WideString longest(259, 'a');
  EXPECT_TRUE(plat::WideToFileName(longest.c_str(), &bytes));
  EXPECT_EQ(bytes.size(), 259u);
  EXPECT_TRUE(test::FailedWith(plat::WideToFileName((longest + OLE("a")).c_str(), &bytes), 122u));
  EXPECT_TRUE(test::FailedWith(plat::FileNameToWide(std::string(260, 'a').c_str(), &back), 122u));
#ifndef _WIN32
  EXPECT_FALSE(plat::WideToFileName(WideString(130, 0x00E9).c_str(), &bytes));  // 260 bytes
  EXPECT_EQ(plat::LastError(), 122u);
  const OleChar lone_surrogate[] = {'a', 0xD800, 0};
  EXPECT_TRUE(test::FailedWith(plat::WideToFileName(lone_surrogate, &bytes), 13u));
  EXPECT_TRUE(test::FailedWith(plat::FileNameToWide("bad\xC3(", &back), 13u));
#endif
}

}  // namespace
