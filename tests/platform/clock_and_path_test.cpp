// Local time, GUIDs, path splitting and joining, the documents folder.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/path.h"
#include "platform/time.h"

namespace {

TEST(PlatformTime, LocalTimeNowIsAValidCalendarTime) {
  const plat::SystemTime now = plat::LocalTimeNow();
  // The C library normalises the same fields and works out the day of the week.
  std::tm tm = {};
  tm.tm_year = now.Year - 1900, tm.tm_mon = now.Month - 1, tm.tm_mday = now.Day;
  tm.tm_hour = now.Hour, tm.tm_min = now.Minute, tm.tm_sec = now.Second, tm.tm_isdst = -1;
  std::mktime(&tm);
  EXPECT_GE(now.Year, 2024);
  EXPECT_EQ((std::vector<int>{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour,
                              tm.tm_min, tm.tm_sec}),
            (std::vector<int>{now.Year, now.Month, now.Day, now.DayOfWeek, now.Hour, now.Minute,
                              now.Second}));
  EXPECT_LE(now.Milliseconds, 999);
}

TEST(PlatformTime, GuidsAreRandomVersion4AndDiffer) {
  plat::Guid first{};
  plat::Guid second{};
  ASSERT_TRUE(plat::NewGuid(&first));
  ASSERT_TRUE(plat::NewGuid(&second));
  EXPECT_NE(std::memcmp(&first, &second, sizeof first), 0);
  for (const plat::Guid& guid : {first, second}) {
    EXPECT_EQ(guid.Data3 >> 12, 4);         // version 4: random
    EXPECT_EQ(guid.Data4[0] & 0xC0, 0x80);  // RFC 4122 variant
  }
}

TEST(PlatformPath, SplitAndJoinAsSplitpathAndMakepath) {
  const struct {
    const char* path;
    plat::PathParts parts;
  } cases[] = {
      {"/data/ecg/record.scp", {"", "/data/ecg/", "record", ".scp"}},
      {"archive.tar.gz", {"", "", "archive.tar", ".gz"}},
      {"dir.x/file", {"", "dir.x/", "file", ""}},
      {"folder/.bashrc", {"", "folder/", "", ".bashrc"}},  // all extension
      {"name.", {"", "", "name", "."}},
      {"", {"", "", "", ""}},
#ifdef _WIN32
      {"C:\\data\\beat.scp", {"C:", "\\data\\", "beat", ".scp"}},
      {"D:rel/x\\y.bio", {"D:", "rel/x\\", "y", ".bio"}},
#else
      {"C:\\data\\beat.scp", {"", "", "C:\\data\\beat", ".scp"}},
#endif
  };
  for (const auto& c : cases) {
    const plat::PathParts parts = plat::SplitPath(c.path);
    EXPECT_EQ(parts.Drive + "|" + parts.Folder + "|" + parts.Name + "|" + parts.Extension,
              c.parts.Drive + "|" + c.parts.Folder + "|" + c.parts.Name + "|" + c.parts.Extension);
    EXPECT_EQ(plat::JoinPath(parts), c.path);
  }
#ifdef _WIN32
  EXPECT_EQ(plat::JoinPath({"c", "\\out", "event1", "scp"}), "c:\\out\\event1.scp");
#else
  EXPECT_EQ(plat::JoinPath({"", "/out", "event1", "scp"}), "/out/event1.scp");
  EXPECT_EQ(plat::JoinPath({"c", "out/", "event1", ".scp"}), "out/event1.scp");
#endif
}

TEST(PlatformPath, DocumentsFolderExists) {
  std::string folder;
  ASSERT_TRUE(plat::DocumentsFolder(&folder));
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
  EXPECT_TRUE(folder.size() <= 3 || (folder.back() != '/' && folder.back() != '\\')) << folder;
}

}  // namespace
