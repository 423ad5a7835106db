// Path splitting and joining, and the documents folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/path.h"

namespace {

void ExpectParts(const std::string& path, const std::string& drive, const std::string& folder,
                 const std::string& name, const std::string& extension) {
  const plat::PathParts parts = plat::SplitPath(path);
  EXPECT_EQ(parts.Drive, drive) << path;
  EXPECT_EQ(parts.Folder, folder) << path;
  EXPECT_EQ(parts.Name, name) << path;
  EXPECT_EQ(parts.Extension, extension) << path;
  EXPECT_EQ(plat::JoinPath(parts), path);
}

TEST(PlatformPath, SplitAndJoinAsSplitpathAndMakepath) {
  ExpectParts("/data/ecg/record.scp", "", "/data/ecg/", "record", ".scp");
  ExpectParts("archive.tar.gz", "", "", "archive.tar", ".gz");
  ExpectParts("dir.x/file", "", "dir.x/", "file", "");
  ExpectParts("folder/.bashrc", "", "folder/", "", ".bashrc");  // all extension
  ExpectParts("name.", "", "", "name", ".");
  ExpectParts("", "", "", "", "");
#ifdef _WIN32
  ExpectParts("C:\\data\\beat.scp", "C:", "\\data\\", "beat", ".scp");
  ExpectParts("D:rel/x\\y.bio", "D:", "rel/x\\", "y", ".bio");
  EXPECT_EQ(plat::JoinPath({"c", "\\out", "event1", "scp"}), "c:\\out\\event1.scp");
#else
  ExpectParts("C:\\data\\beat.scp", "", "", "C:\\data\\beat", ".scp");
  EXPECT_EQ(plat::JoinPath({"", "/out", "event1", "scp"}), "/out/event1.scp");
  EXPECT_EQ(plat::JoinPath({"c", "out/", "event1", ".scp"}), "out/event1.scp");
#endif
}

TEST(PlatformPath, DocumentsFolderExists) {
  std::string folder;
  ASSERT_TRUE(plat::DocumentsFolder(&folder));
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.size() <= 3 || (folder.back() != '/' && folder.back() != '\\')) << folder;
}

}  // namespace
