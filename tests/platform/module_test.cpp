// Modules: the test module beside this executable, its entry and its strings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/module.h"
#include "support/last_error.h"

namespace {

TEST(PlatformModule, LoadsTheModuleBesideTheProgram) {
  const plat::ModuleHandle module = plat::LoadModule("KtxTestModule.dll");
  ASSERT_NE(module, nullptr) << plat::LastError();
  void* entry = plat::FindEntry(module, "KtxTestEntry");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(reinterpret_cast<int (*)()>(entry)(), 42);
  EXPECT_TRUE(test::FailedWith(plat::FindEntry(module, "KtxNoSuchEntry"), plat::kErrProcNotFound));
  char text[32];
  EXPECT_EQ(plat::LoadStringResource(module, 1, text, sizeof text), 15);
  EXPECT_EQ(std::string(text), "KTX test module");
  EXPECT_EQ(plat::LoadStringResource(module, 2, text, sizeof text), 6);
  EXPECT_EQ(std::string(text), "Caf\xE9 \x80");                // Windows-1252 bytes
  EXPECT_EQ(plat::LoadStringResource(module, 2, text, 4), 3);  // cut to fit the terminator
  EXPECT_EQ(std::string(text), "Caf");
  EXPECT_EQ(plat::LoadStringResource(module, 99, text, sizeof text), 0);
  EXPECT_EQ(text[0], '\0');
  std::string utf8;
  EXPECT_TRUE(plat::LoadStringResourceUtf8(module, 2, &utf8));
  EXPECT_EQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_TRUE(test::FailedWith(plat::LoadStringResourceUtf8(module, 99, &utf8),
                               plat::kErrResourceNameNotFound));
  EXPECT_TRUE(
      test::FailedWith(plat::LoadStringResourceUtf8(nullptr, 1, &utf8), plat::kErrInvalidHandle));
  plat::UnloadModule(module);
}

// Texts are converted from the module's own code page to the ANSI one (Windows-1252
// here and on the Wine host); what that code page lacks fails rather than turning '?',
// and comes whole as UTF-8.
TEST(PlatformModule, ConvertsStringsToTheAnsiCodePageOrFailsWith1113) {
  const plat::ModuleHandle module = plat::LoadModule("KtxTestModuleUtf8.dll");
  ASSERT_NE(module, nullptr) << plat::LastError();
  char text[32];
  EXPECT_EQ(plat::LoadStringResource(module, 1, text, sizeof text), 6);
  EXPECT_EQ(std::string(text), "Caf\xE9 \x80");
  EXPECT_EQ(plat::LoadStringResource(module, 1, text, 5), 4);
  EXPECT_EQ(std::string(text), "Caf\xE9");
  plat::SetLastError(0);
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(plat::LoadStringResource(module, 2, text, sizeof text), 0);
  EXPECT_EQ(plat::LastError(), plat::kErrNoUnicodeTranslation);
  EXPECT_EQ(text[0], '\0');
  std::string utf8;  // whole, past the ANSI code page
  EXPECT_TRUE(plat::LoadStringResourceUtf8(module, 2, &utf8));
  EXPECT_EQ(utf8, "\xE5\xBF\x83\xE9\x9B\xBB\xE5\x9B\xB3");
  plat::UnloadModule(module);
}

TEST(PlatformModule, MissingModuleGives126) {
  EXPECT_TRUE(test::FailedWith(plat::LoadModule("KtxNoSuchModule.dll"), plat::kErrModNotFound));
  EXPECT_TRUE(test::FailedWith(plat::LoadModule(nullptr), plat::kErrInvalidParameter));
}

}  // namespace
