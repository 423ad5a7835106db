// Error numbers: the errno mapping, per-thread last error, messages.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <new>
#include <string>
#include <thread>
#include <utility>

#include "platform/errors.h"
#include "support/last_error.h"

namespace {

TEST(PlatformErrors, ErrnoMapsToTheWin32NumberForTheSameSituation) {
  const std::pair<int, uint32_t> mapped[] = {
      {0, 0},        {ENOENT, 2},   {ENOTDIR, 3}, {ENAMETOOLONG, 3}, {EACCES, 5},
      {EPERM, 5},    {EISDIR, 5},   {EBADF, 6},   {ENOMEM, 14},      {EEXIST, 80},
      {EINVAL, 87},  {ENOSPC, 112}, {EROFS, 19},  {EFBIG, 223},      {EDOM, 31},
#ifdef EDQUOT
      {EDQUOT, 112},
#endif
  };
  for (const auto& [error, win32] : mapped) {
    EXPECT_EQ(plat::ErrorFromErrno(error), win32) << error;
  }
}

TEST(PlatformErrors, FailuresLeaveTheirCodeAndAnswerTheFailedValue) {
  plat::SetLastError(0);
  EXPECT_TRUE(test::FailedWith(plat::FailWith(plat::kErrInvalidData), 13u));
  const char* none = plat::FailNull(plat::kErrNoData);
  EXPECT_TRUE(test::FailedWith(none, 232u));
  // Running out of memory inside an operation is 14 and the failed value; an operation
  // that succeeds leaves its own answer and the last error alone.
  plat::SetLastError(0);
  EXPECT_EQ(plat::CatchOutOfMemory(std::string("failed"),
                                   []() -> std::string { throw std::bad_alloc(); }),
            "failed");
  EXPECT_EQ(plat::LastError(), 14u);
  plat::SetLastError(0);
  EXPECT_TRUE(plat::CatchOutOfMemory(false, [] { return true; }));
  EXPECT_EQ(plat::LastError(), 0u);
}

TEST(PlatformErrors, LastErrorBelongsToEachThread) {
  // Creating and joining a thread may change the last error on Windows, so the two
  // threads take turns through atomics, which make no system calls.
  std::atomic<int> step{0};
  const auto awaitStep = [&step](int n) {
    while (step.load() != n) {
    }
  };
  uint32_t seen_in_thread = 0;
  std::thread other([&] {
    awaitStep(1);
    plat::SetLastError(5);
    step = 2;
    awaitStep(3);
    seen_in_thread = plat::LastError();
  });
  plat::SetLastError(87);
  step = 1;
  awaitStep(2);
  const uint32_t seen_in_main = plat::LastError();
  plat::SetLastError(13);
  step = 3;
  other.join();
  EXPECT_EQ(seen_in_main, 87u);
  EXPECT_EQ(seen_in_thread, 5u);
  plat::SetLastError(87);
  {
    plat::KeepLastError keep;
    plat::SetLastError(13);
  }
  EXPECT_EQ(plat::LastError(), 87u);
}

TEST(PlatformErrors, MessagesAreShortEnglishText) {
  EXPECT_EQ(plat::ErrorMessage(2), "The system cannot find the file specified.");
  EXPECT_EQ(plat::ErrorMessage(13), "The data is invalid.");
  EXPECT_EQ(plat::ErrorMessage(87), "The parameter is incorrect.");
  EXPECT_EQ(plat::ErrorMessage(232), "The data needed is absent.");
  EXPECT_EQ(plat::ErrorMessage(4242), "Error 4242");
}

}  // namespace
