// Files: round trip, failures with their Win32 codes, copies, temporary files.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"
#include "support/last_error.h"
#include "support/temp_folder.h"

namespace {

using plat::kClosedFile;

std::string Written(const test::TempFolder& folder, const std::string& name,
                    const std::string& text) {
  return folder.Write(name, test::Bytes(text.begin(), text.end()));
}

std::string Contents(const std::string& path) {
  const test::Bytes bytes = test::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// Reads up to 16 bytes at the file position.
std::string Read(plat::FileHandle file) {
  char buffer[16];
  uint32_t done = 99;
  EXPECT_TRUE(plat::ReadFile(file, buffer, sizeof buffer, &done));
  return std::string(buffer, done);
}

TEST(PlatformFile, WriteSeekReadRoundTrip) {
  test::TempFolder folder;
  const std::string path = folder.File("round.bin");
  plat::FileHandle file = plat::CreateAlways(path.c_str());
  ASSERT_NE(file, kClosedFile);
  uint32_t done = 0;
  uint64_t at[3] = {};
  EXPECT_TRUE(plat::WriteFile(file, "0123456789", 10, &done));
  EXPECT_EQ(done, 10u);
  EXPECT_TRUE(plat::Seek(file, 2, plat::SeekFrom::Begin, &at[0]));
  EXPECT_TRUE(plat::WriteFile(file, "ab", 2, &done));
  EXPECT_TRUE(plat::Seek(file, 3, plat::SeekFrom::Current, &at[1]));
  EXPECT_TRUE(plat::Seek(file, -1, plat::SeekFrom::End, &at[2]));
  EXPECT_EQ(std::vector<uint64_t>(at, at + 3), (std::vector<uint64_t>{2, 7, 9}));
  EXPECT_TRUE(
      test::FailedWith(plat::Seek(file, -20, plat::SeekFrom::Current), plat::kErrNegativeSeek));
  uint64_t size = 0;
  EXPECT_TRUE(plat::FileSize(file, &size));
  EXPECT_EQ(size, 10u);
  EXPECT_TRUE(plat::Flush(file));
  EXPECT_TRUE(plat::CloseFile(file));
  file = plat::OpenForRead(path.c_str());
  ASSERT_NE(file, kClosedFile);
  EXPECT_TRUE(plat::Seek(file, 8, plat::SeekFrom::Begin));
  EXPECT_EQ(Read(file), "89");  // short at the end, then nothing
  EXPECT_EQ(Read(file), "");
  EXPECT_TRUE(plat::CloseFile(file));
  EXPECT_EQ(Contents(path), "01ab456789");
  // Opening for reading and writing creates a missing file and keeps an existing one.
  file = plat::OpenReadWrite(folder.File("both.bin").c_str());
  ASSERT_NE(file, kClosedFile);
  EXPECT_TRUE(plat::WriteFile(file, "abcdef", 6, &done));
  EXPECT_TRUE(plat::CloseFile(file));
  file = plat::OpenReadWrite(folder.File("both.bin").c_str());
  EXPECT_TRUE(plat::WriteFile(file, "XY", 2, &done));
  EXPECT_EQ(Read(file), "cdef");
  EXPECT_TRUE(plat::CloseFile(file));
}

// The call leaves `code` whatever the last error was before it.
template <typename Call>
::testing::AssertionResult Leaves(uint32_t code, Call call) {
  plat::SetLastError(0);
  return test::FailedWith(call(), code);
}

TEST(PlatformFile, FailuresLeaveWin32Codes) {
  test::TempFolder folder;
  char buffer[4];
  uint32_t done = 7;
  uint64_t size = 0;
  plat::SystemTime time{};
  EXPECT_TRUE(Leaves(6, [&] { return plat::ReadFile(kClosedFile, buffer, 4, &done); }));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(Leaves(6, [&] { return plat::WriteFile(kClosedFile, buffer, 4, &done); }));
  EXPECT_TRUE(Leaves(6, [&] { return plat::Seek(kClosedFile, 0, plat::SeekFrom::Begin); }));
  EXPECT_TRUE(Leaves(6, [&] { return plat::FileSize(kClosedFile, &size); }));
  EXPECT_TRUE(Leaves(6, [&] { return plat::Flush(kClosedFile); }));
  EXPECT_TRUE(Leaves(6, [&] { return plat::LastWriteTimeLocal(kClosedFile, &time); }));
  EXPECT_TRUE(Leaves(6, [&] { return plat::CloseFile(kClosedFile); }));
  const std::pair<std::string, uint32_t> opens[] = {{folder.File("missing.scp"), 2},
                                                    {folder.File("absent/missing.scp"), 3},
                                                    {folder.Path().string(), 5}};
  for (const auto& open : opens) {  // no structured binding: C++17 lambdas cannot capture one
    const std::string& path = open.first;
    EXPECT_TRUE(
        Leaves(open.second, [&] { return plat::OpenForRead(path.c_str()) != kClosedFile; }));
  }
  const std::string absent = folder.File("absent/new.scp");
  EXPECT_TRUE(Leaves(3, [&] { return plat::CreateAlways(absent.c_str()) != kClosedFile; }));
  EXPECT_TRUE(Leaves(87, [] { return plat::OpenForRead(nullptr) != kClosedFile; }));
  EXPECT_TRUE(Leaves(87, [] { return plat::OpenReadWrite(nullptr) != kClosedFile; }));
}

std::time_t Seconds(const plat::SystemTime& t) {
  std::tm tm = {};
  tm.tm_year = t.Year - 1900, tm.tm_mon = t.Month - 1, tm.tm_mday = t.Day;
  tm.tm_hour = t.Hour, tm.tm_min = t.Minute, tm.tm_sec = t.Second, tm.tm_isdst = -1;
  return std::mktime(&tm);
}

TEST(PlatformFile, LastWriteTimeIsLocalTimeOfTheWrite) {
  test::TempFolder folder;
  const plat::FileHandle file = plat::OpenForRead(Written(folder, "dated.bin", "x").c_str());
  ASSERT_NE(file, kClosedFile);
  plat::SystemTime written{};
  EXPECT_TRUE(plat::LastWriteTimeLocal(file, &written));
  EXPECT_TRUE(plat::CloseFile(file));
  EXPECT_LE(std::fabs(std::difftime(Seconds(plat::LocalTimeNow()), Seconds(written))), 5.0);
}

TEST(PlatformFile, CopyOverAndRemove) {
  test::TempFolder folder;
  const std::string source = Written(folder, "source.bin", "new contents");
  const std::string target = Written(folder, "target.bin", "older and longer contents");
  EXPECT_TRUE(plat::CopyFileOver(source.c_str(), target.c_str()));
  EXPECT_EQ(Contents(target), "new contents");
  EXPECT_TRUE(plat::CopyFileOver(target.c_str(), folder.File("third.bin").c_str()));
  EXPECT_EQ(Contents(folder.File("third.bin")), "new contents");
  EXPECT_TRUE(
      test::FailedWith(plat::CopyFileOver(folder.File("missing.bin").c_str(), target.c_str()), 2u));
  EXPECT_TRUE(test::FailedWith(plat::CopyFileOver(target.c_str(), target.c_str()),
                               plat::kErrSharingViolation));  // would destroy it
  EXPECT_EQ(Contents(target), "new contents");
  EXPECT_TRUE(test::FailedWith(plat::RemoveFile(folder.Path().string().c_str()), 5u));
  EXPECT_TRUE(plat::RemoveFile(target.c_str()));
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_TRUE(test::FailedWith(plat::RemoveFile(target.c_str()), 2u));
}

// Room made ahead changes no byte and keeps the position; the cut keeps what comes before.
TEST(PlatformFile, ReserveKeepsTheBytesAndSetLengthCuts) {
  test::TempFolder folder;
  const std::string path = Written(folder, "grow.bin", "0123456789");
  const plat::FileHandle file = plat::OpenReadWrite(path.c_str());
  ASSERT_NE(file, kClosedFile);
  EXPECT_TRUE(plat::Seek(file, 2, plat::SeekFrom::Begin));
  EXPECT_TRUE(plat::ReserveLength(file, 1u << 20));
  EXPECT_TRUE(plat::SetLength(file, 6));
  EXPECT_EQ(Read(file), "2345");  // from the position as it was
  EXPECT_TRUE(plat::CloseFile(file));
  EXPECT_EQ(Contents(path), "012345");
  EXPECT_TRUE(test::FailedWith(plat::ReserveLength(kClosedFile, 1), 6u));
  EXPECT_TRUE(test::FailedWith(plat::SetLength(kClosedFile, 1), 6u));
}

TEST(PlatformFile, RenameOverReplacesTheFileWithItsPermissions) {
  test::TempFolder folder;
  const std::string next = Written(folder, "next.bin", "new");
  const std::string file = Written(folder, "file.bin", "older and longer");
  namespace fs = std::filesystem;
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_TRUE(plat::CopyPermissions(file.c_str(), next.c_str()));
  EXPECT_EQ(fs::status(next).permissions(), fs::status(file).permissions());
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(plat::RenameOver(next.c_str(), file.c_str()));
  EXPECT_EQ(Contents(file), "new");
  EXPECT_FALSE(fs::exists(next));
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(test::FailedWith(plat::RenameOver(next.c_str(), file.c_str()), 2u));
  std::string resolved;
  EXPECT_TRUE(plat::ResolveLinks(file.c_str(), &resolved));
  EXPECT_EQ(resolved, file);
}

// Readers share a file, a writer has it alone: a writer waits for the readers to close,
// a reader that meets a writer is refused once the wait is over. Holding a file stays
// outside both, and keeps it from being removed as stale.
TEST(PlatformFile, ShareModesAndHolds) {
  test::TempFolder folder;
  const std::string path = Written(folder, "shared.bin", "record");
  plat::FileHandle readers[2] = {plat::OpenForRead(path.c_str()), plat::OpenForRead(path.c_str())};
  ASSERT_NE(readers[0], kClosedFile);
  ASSERT_NE(readers[1], kClosedFile);
  std::thread closer([&readers] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (plat::FileHandle reader : readers) plat::CloseFile(reader);
  });
  const plat::FileHandle writer = plat::OpenReadWrite(path.c_str());
  closer.join();
  ASSERT_NE(writer, kClosedFile);
  EXPECT_TRUE(Leaves(32, [&] { return plat::OpenForRead(path.c_str()) != kClosedFile; }));
  const plat::FileHandle hold = plat::HoldFile(path.c_str());
  ASSERT_NE(hold, kClosedFile);
  EXPECT_TRUE(test::FailedWith(plat::RemoveUnheldFile(path.c_str()), 32u));
  EXPECT_TRUE(plat::CloseFile(writer));
  EXPECT_TRUE(test::FailedWith(plat::RemoveUnheldFile(path.c_str()), 32u));
  EXPECT_TRUE(plat::CloseFile(hold));
  EXPECT_TRUE(plat::RemoveUnheldFile(path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(path));
}

// A held temporary file is made after the unheld ones of its pattern are removed; files
// of other names are left alone.
TEST(PlatformFile, HeldTempFilesReplaceStaleOnes) {
  test::TempFolder folder;
  const std::string dir = folder.Path().string();
  Written(folder, "~KT1A2B.tmp", "left by a process that died");
  Written(folder, "~KTnotes.tmp", "not a temporary file's name");
  std::string made;
  plat::FileHandle hold = kClosedFile;
  ASSERT_TRUE(plat::CreateHeldTempFile(dir.c_str(), "~KT", &made, &hold));
  std::vector<std::string> listed;
  ASSERT_TRUE(plat::ListFiles(dir.c_str(), "~KT", ".tmp", &listed));
  std::set<std::string> names;
  for (const std::string& path : listed)
    names.insert(std::filesystem::path(path).filename().string());
  EXPECT_EQ(names, (std::set<std::string>{std::filesystem::path(made).filename().string(),
                                          "~KTnotes.tmp"}));
  std::string second;
  plat::FileHandle secondHold = kClosedFile;
  ASSERT_TRUE(plat::CreateHeldTempFile(dir.c_str(), "~KT", &second, &secondHold));
  EXPECT_TRUE(std::filesystem::exists(made));  // held: not stale
  for (plat::FileHandle held : {hold, secondHold}) EXPECT_TRUE(plat::CloseFile(held));
  EXPECT_TRUE(
      test::FailedWith(plat::ListFiles(folder.File("absent").c_str(), "~KT", ".tmp", &listed), 3u));
}

TEST(PlatformFile, TempFilesAreUniqueEmptyAndCarryThePrefix) {
  test::TempFolder folder;
  std::set<std::string> names;
  for (int i = 0; i < 3; ++i) {
    std::string path;
    ASSERT_TRUE(plat::CreateTempFile(folder.Path().string().c_str(), "ecgwork", &path));
    const std::filesystem::path made(path);
    EXPECT_EQ(made.parent_path(), folder.Path());
    EXPECT_EQ(std::filesystem::file_size(made), 0u);
    // "ecg", the unique number in up to four hex digits (Windows does not pad it), ".tmp".
    const std::string name = made.filename().string();
    ASSERT_GE(name.size(), 8u) << name;
    ASSERT_LE(name.size(), 11u) << name;
    const size_t digitsEnd = name.size() - 4;
    EXPECT_EQ(name.substr(0, 3), "ecg");
    EXPECT_EQ(name.find_first_not_of("0123456789abcdefABCDEF", 3), digitsEnd) << name;
    EXPECT_TRUE(name.substr(digitsEnd) == ".tmp" || name.substr(digitsEnd) == ".TMP") << name;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 3u);
  std::string path;
  EXPECT_TRUE(test::FailedWith(plat::CreateTempFile(nullptr, "ecg", &path), 87u));
  EXPECT_FALSE(plat::CreateTempFile(folder.File("absent").c_str(), "ecg", &path));
}

}  // namespace
