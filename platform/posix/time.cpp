// The local date and time now, to the millisecond.
#include <time.h>

#include "platform/posix/posix_common.h"
#include "platform/time.h"

namespace plat {

SystemTime LocalTimeNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  return posix::ToSystemTime(local, now.tv_nsec);
}

}  // namespace plat
