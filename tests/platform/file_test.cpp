// Files: round trip, failures with their Win32 codes, copies, temporary files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "civil_time.h"
#include "platform/errors.h"
#include "platform/file.h"
#include "support/temp_folder.h"

namespace {

using plat::kClosedFile;

void WriteText(const std::string& path, const std::string& text) {
  const plat::FileHandle file = plat::CreateAlways(path.c_str());
  ASSERT_NE(file, kClosedFile);
  uint32_t done = 0;
  ASSERT_TRUE(plat::WriteFile(file, text.data(), static_cast<uint32_t>(text.size()), &done));
  ASSERT_EQ(done, text.size());
  ASSERT_TRUE(plat::CloseFile(file));
}

TEST(PlatformFile, WriteSeekReadRoundTrip) {
  test::TempFolder folder;
  const std::string path = folder.File("round.bin");
  plat::FileHandle file = plat::CreateAlways(path.c_str());
  ASSERT_NE(file, kClosedFile);
  uint32_t done = 0;
  EXPECT_TRUE(plat::WriteFile(file, "0123456789", 10, &done));
  EXPECT_EQ(done, 10u);
  uint64_t position = 0;
  EXPECT_TRUE(plat::Seek(file, 2, plat::SeekFrom::Begin, &position));
  EXPECT_EQ(position, 2u);
  EXPECT_TRUE(plat::WriteFile(file, "ab", 2, &done));
  EXPECT_TRUE(plat::Seek(file, 3, plat::SeekFrom::Current, &position));
  EXPECT_EQ(position, 7u);
  EXPECT_TRUE(plat::Seek(file, -1, plat::SeekFrom::End, &position));
  EXPECT_EQ(position, 9u);
  EXPECT_FALSE(plat::Seek(file, -20, plat::SeekFrom::Current));
  EXPECT_EQ(plat::LastError(), plat::kErrNegativeSeek);
  uint64_t size = 0;
  EXPECT_TRUE(plat::FileSize(file, &size));
  EXPECT_EQ(size, 10u);
  EXPECT_TRUE(plat::Flush(file));
  EXPECT_TRUE(plat::CloseFile(file));

  file = plat::OpenForRead(path.c_str());
  ASSERT_NE(file, kClosedFile);
  char buffer[16] = {};
  EXPECT_TRUE(plat::ReadFile(file, buffer, 4, &done));
  EXPECT_EQ(std::string(buffer, done), "01ab");
  EXPECT_TRUE(plat::Seek(file, 8, plat::SeekFrom::Begin));
  EXPECT_TRUE(plat::ReadFile(file, buffer, sizeof buffer, &done));  // short at the end
  EXPECT_EQ(std::string(buffer, done), "89");
  EXPECT_TRUE(plat::ReadFile(file, buffer, sizeof buffer, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(plat::CloseFile(file));
}

TEST(PlatformFile, ReadWriteOpenCreatesAndKeepsContents) {
  test::TempFolder folder;
  const std::string path = folder.File("both.bin");
  plat::FileHandle file = plat::OpenReadWrite(path.c_str());  // created when missing
  ASSERT_NE(file, kClosedFile);
  uint32_t done = 0;
  EXPECT_TRUE(plat::WriteFile(file, "abcdef", 6, &done));
  EXPECT_TRUE(plat::CloseFile(file));

  file = plat::OpenReadWrite(path.c_str());  // an existing file is not truncated
  ASSERT_NE(file, kClosedFile);
  EXPECT_TRUE(plat::WriteFile(file, "XY", 2, &done));
  char buffer[8] = {};
  EXPECT_TRUE(plat::ReadFile(file, buffer, sizeof buffer, &done));
  EXPECT_EQ(std::string(buffer, done), "cdef");
  EXPECT_TRUE(plat::CloseFile(file));
  EXPECT_EQ(plat::OpenReadWrite(nullptr), kClosedFile);
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
}

TEST(PlatformFile, FailuresLeaveWin32Codes) {
  test::TempFolder folder;
  char buffer[4];
  uint32_t done = 7;
  uint64_t size = 0;
  plat::SystemTime time{};
  plat::SetLastError(0);
  EXPECT_FALSE(plat::ReadFile(kClosedFile, buffer, 4, &done));
  EXPECT_EQ(plat::LastError(), 6u);
  EXPECT_EQ(done, 0u);
  plat::SetLastError(0);
  EXPECT_FALSE(plat::WriteFile(kClosedFile, buffer, 4, &done));
  EXPECT_EQ(plat::LastError(), 6u);
  plat::SetLastError(0);
  EXPECT_FALSE(plat::Seek(kClosedFile, 0, plat::SeekFrom::Begin));
  EXPECT_EQ(plat::LastError(), 6u);
  plat::SetLastError(0);
  EXPECT_FALSE(plat::FileSize(kClosedFile, &size));
  EXPECT_EQ(plat::LastError(), 6u);
  plat::SetLastError(0);
  EXPECT_FALSE(plat::Flush(kClosedFile));
  EXPECT_EQ(plat::LastError(), 6u);
  plat::SetLastError(0);
  EXPECT_FALSE(plat::LastWriteTimeLocal(kClosedFile, &time));
  EXPECT_EQ(plat::LastError(), 6u);
  plat::SetLastError(0);
  EXPECT_FALSE(plat::CloseFile(kClosedFile));
  EXPECT_EQ(plat::LastError(), 6u);

  EXPECT_EQ(plat::OpenForRead(folder.File("missing.scp").c_str()), kClosedFile);
  EXPECT_EQ(plat::LastError(), 2u);
  EXPECT_EQ(plat::OpenForRead(folder.File("absent/missing.scp").c_str()), kClosedFile);
  EXPECT_EQ(plat::LastError(), 3u);
  EXPECT_EQ(plat::CreateAlways(folder.File("absent/new.scp").c_str()), kClosedFile);
  EXPECT_EQ(plat::LastError(), 3u);
  EXPECT_EQ(plat::OpenForRead(folder.Path().string().c_str()), kClosedFile);
  EXPECT_EQ(plat::LastError(), 5u);
  EXPECT_EQ(plat::OpenForRead(nullptr), kClosedFile);
  EXPECT_EQ(plat::LastError(), 87u);
}

TEST(PlatformFile, LastWriteTimeIsLocalTimeOfTheWrite) {
  test::TempFolder folder;
  const std::string path = folder.File("dated.bin");
  WriteText(path, "x");
  const plat::FileHandle file = plat::OpenForRead(path.c_str());
  ASSERT_NE(file, kClosedFile);
  plat::SystemTime written{};
  EXPECT_TRUE(plat::LastWriteTimeLocal(file, &written));
  EXPECT_TRUE(plat::CloseFile(file));
  EXPECT_LE(std::llabs(test::Seconds(plat::LocalTimeNow()) - test::Seconds(written)), 5);
}

TEST(PlatformFile, CopyOverAndRemove) {
  test::TempFolder folder;
  const std::string source = folder.File("source.bin");
  const std::string target = folder.File("target.bin");
  WriteText(source, "new contents");
  WriteText(target, "older and longer contents");
  EXPECT_TRUE(plat::CopyFileOver(source.c_str(), target.c_str()));
  test::Bytes expected{'n', 'e', 'w', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't', 's'};
  EXPECT_EQ(test::ReadWholeFile(target), expected);
  EXPECT_TRUE(plat::CopyFileOver(target.c_str(), folder.File("third.bin").c_str()));
  EXPECT_EQ(test::ReadWholeFile(folder.File("third.bin")), expected);

  EXPECT_FALSE(plat::CopyFileOver(folder.File("missing.bin").c_str(), target.c_str()));
  EXPECT_EQ(plat::LastError(), 2u);
  EXPECT_FALSE(plat::CopyFileOver(target.c_str(), target.c_str()));  // would destroy it
  EXPECT_EQ(plat::LastError(), plat::kErrSharingViolation);
  EXPECT_EQ(test::ReadWholeFile(target), expected);
  EXPECT_FALSE(plat::RemoveFile(folder.Path().string().c_str()));
  EXPECT_EQ(plat::LastError(), 5u);
  EXPECT_TRUE(plat::RemoveFile(target.c_str()));
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_FALSE(plat::RemoveFile(target.c_str()));
  EXPECT_EQ(plat::LastError(), 2u);
}

TEST(PlatformFile, TempFilesAreUniqueEmptyAndCarryThePrefix) {
  test::TempFolder folder;
  std::set<std::string> names;
  for (int i = 0; i < 3; ++i) {
    std::string path;
    ASSERT_TRUE(plat::CreateTempFile(folder.Path().string().c_str(), "ecgwork", &path));
    const std::filesystem::path made(path);
    EXPECT_EQ(made.parent_path(), folder.Path());
    const std::string name = made.filename().string();
    // "ecg", the unique number in up to four hex digits (Windows does not pad it), ".tmp".
    ASSERT_GE(name.size(), 8u) << name;
    ASSERT_LE(name.size(), 11u) << name;
    const size_t digitsEnd = name.size() - 4;
    EXPECT_EQ(name.substr(0, 3), "ecg");
    EXPECT_EQ(name.find_first_not_of("0123456789abcdefABCDEF", 3), digitsEnd) << name;
    EXPECT_TRUE(name.substr(digitsEnd) == ".tmp" || name.substr(digitsEnd) == ".TMP") << name;
    EXPECT_EQ(std::filesystem::file_size(made), 0u);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 3u);
  std::string path;
  EXPECT_FALSE(plat::CreateTempFile(nullptr, "ecg", &path));
  EXPECT_EQ(plat::LastError(), 87u);
  EXPECT_FALSE(plat::CreateTempFile(folder.File("absent").c_str(), "ecg", &path));
}

}  // namespace
