#include "platform/posix/share_lock.h"

#include <fcntl.h>
#include <time.h>

#include <cerrno>
#include <cstdint>

#include "platform/errors.h"

namespace plat::posix {
namespace {

#ifndef F_OFD_SETLK
#error "open file description locks (Linux 3.15) are needed for the share modes"
#endif

constexpr off_t kRecordByte = 0;  // readers share it; a writer takes it alone
constexpr off_t kGateByte = 1;    // a writer takes it first; readers pass it on the way in
constexpr off_t kHoldByte = off_t{1} << 62;
constexpr long kPollNanoseconds = 5 * 1000 * 1000;

enum class Outcome { Taken, Busy, Unsupported, Failed };

struct Attempt {
  Outcome Result;
  int Error;
};

Attempt Lock(int fd, short type, off_t byte) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return {Outcome::Taken, 0};
  const int err = errno;
  if (err == EAGAIN || err == EACCES || err == EINTR) return {Outcome::Busy, err};
  if (err == ENOLCK || err == EINVAL || err == EOPNOTSUPP || err == ENOSYS) {
    return {Outcome::Unsupported, err};
  }
  return {Outcome::Failed, err};
}

void Unlock(int fd, off_t byte) {
  struct flock lock {};
  lock.l_type = F_UNLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  fcntl(fd, F_OFD_SETLK, &lock);
}

// A reader passes the gate (closed while a writer waits or writes) and shares the record.
Attempt ReadOnce(int fd) {
  const Attempt gate = Lock(fd, F_RDLCK, kGateByte);
  if (gate.Result != Outcome::Taken) return gate;
  const Attempt record = Lock(fd, F_RDLCK, kRecordByte);
  Unlock(fd, kGateByte);
  return record;
}

int64_t NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

bool TakeShare(int fd, Share share) {
  const int64_t deadline = NowMilliseconds() + kShareWaitMilliseconds;
  bool gate = false;
  for (;;) {
    Attempt attempt{Outcome::Busy, 0};
    if (share == Share::Read) {
      attempt = ReadOnce(fd);
    } else {
      // The gate stays closed while the writer waits for the readers inside to leave.
      if (!gate) {
        attempt = Lock(fd, F_WRLCK, kGateByte);
        gate = attempt.Result == Outcome::Taken;
      }
      if (gate) attempt = Lock(fd, F_WRLCK, kRecordByte);
    }
    if (attempt.Result == Outcome::Taken || attempt.Result == Outcome::Unsupported) return true;
    if (attempt.Result == Outcome::Failed) return FailWith(ErrorFromErrno(attempt.Error));
    if (NowMilliseconds() >= deadline) return FailWith(kErrSharingViolation);
    const timespec pause{0, kPollNanoseconds};
    nanosleep(&pause, nullptr);
  }
}

bool TryHold(int fd) {
  const Attempt hold = Lock(fd, F_WRLCK, kHoldByte);
  switch (hold.Result) {
    case Outcome::Taken:
      return true;
    case Outcome::Busy:
      return FailWith(kErrSharingViolation);
    case Outcome::Unsupported:
      return FailWith(kErrNotSupported);
    default:
      return FailWith(ErrorFromErrno(hold.Error));
  }
}

}  // namespace plat::posix
