// Memory files answer the reading calls as a file of the same bytes would, and refuse
// everything else as an invalid handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/memory_file.h"
#include "support/last_error.h"

namespace {

std::string Read(plat::FileHandle file, uint32_t count) {
  char buffer[16];
  uint32_t done = 99;
  EXPECT_TRUE(plat::ReadFile(file, buffer, count, &done));
  return std::string(buffer, done);
}

TEST(MemoryFile, ReadsSeeksAndClosesLikeAFile) {
  const char bytes[] = "0123456789";
  const plat::FileHandle file = plat::OpenMemoryFile(bytes, 10);
  ASSERT_NE(file, plat::kClosedFile);
  uint64_t at[3] = {}, size = 0;
  EXPECT_EQ(Read(file, 3), "012");
  EXPECT_TRUE(plat::Seek(file, 4, plat::SeekFrom::Current, &at[0]));
  EXPECT_TRUE(plat::Seek(file, -2, plat::SeekFrom::End, &at[1]));
  EXPECT_EQ(Read(file, 16), "89");  // short at the end, then nothing
  EXPECT_EQ(Read(file, 16), "");
  EXPECT_TRUE(plat::Seek(file, 30, plat::SeekFrom::Begin, &at[2]));
  EXPECT_EQ(Read(file, 4), "");
  EXPECT_EQ(std::vector<uint64_t>(at, at + 3), (std::vector<uint64_t>{7, 8, 30}));
  EXPECT_TRUE(test::FailedWith(plat::Seek(file, -11, plat::SeekFrom::End), plat::kErrNegativeSeek));
  EXPECT_TRUE(plat::FileSize(file, &size));
  EXPECT_EQ(size, 10u);
  uint32_t done = 0;
  EXPECT_TRUE(test::FailedWith(plat::WriteFile(file, "x", 1, &done), plat::kErrInvalidHandle));
  EXPECT_TRUE(test::FailedWith(plat::Flush(file), plat::kErrInvalidHandle));
  EXPECT_TRUE(plat::CloseFile(file));
  char buffer[1];
  EXPECT_TRUE(test::FailedWith(plat::ReadFile(file, buffer, 1, &done), plat::kErrInvalidHandle));
  EXPECT_TRUE(test::FailedWith(plat::CloseFile(file), plat::kErrInvalidHandle));
  EXPECT_TRUE(test::FailedWith(plat::OpenMemoryFile(nullptr, 5) != plat::kClosedFile,
                               plat::kErrInvalidParameter));
}

TEST(MemoryFile, AtMost4096AreOpenAtOnce) {
  std::vector<plat::FileHandle> open;
  for (int i = 0; i < 4096; ++i) open.push_back(plat::OpenMemoryFile("", 0));
  EXPECT_EQ(std::count(open.begin(), open.end(), plat::kClosedFile), 0);
  EXPECT_TRUE(test::FailedWith(plat::OpenMemoryFile("", 0) != plat::kClosedFile,
                               plat::kErrOutOfStructures));
  for (plat::FileHandle file : open) EXPECT_TRUE(plat::CloseFile(file));
}

}  // namespace
