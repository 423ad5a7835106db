// Unique temporary files as GetTempFileName makes them: "<folder>/<pre>XXXX.tmp",
// created empty, with up to three characters of the prefix and four hex digits.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/posix/posix_common.h"

namespace plat {
namespace {

constexpr uint32_t kUniqueValues = 0xFFFF;  // 1..FFFF, never 0

uint32_t FirstGuess() {
  static std::atomic<uint32_t> calls{0};
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<uint32_t>(now.tv_nsec) ^ static_cast<uint32_t>(getpid()) ^ calls++ * 7919u;
}

}  // namespace

bool CreateTempFile(const char* folder, const char* prefix, std::string* path) {
  if (!folder || !*folder || !path) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    std::string base = folder;
    if (base.back() != '/') base += '/';
    if (prefix) base.append(prefix, strnlen(prefix, 3));
    const uint32_t first = FirstGuess();
    for (uint32_t tried = 0; tried < kUniqueValues;) {
      char unique[8];
      std::snprintf(unique, sizeof unique, "%04X", (first + tried) % kUniqueValues + 1);
      std::string candidate = base + unique + ".tmp";
      const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        close(fd);
        *path = std::move(candidate);
        return true;
      }
      if (errno == EINTR) continue;
      if (errno != EEXIST) {
        // Only the folder can be missing: the name itself is being created.
        return FailWith(errno == ENOENT ? kErrPathNotFound : ErrorFromErrno(errno));
      }
      ++tried;
    }
    return FailWith(kErrFileExists);  // every name is taken
  });
}

}  // namespace plat
