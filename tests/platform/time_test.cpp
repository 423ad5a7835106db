// Local time and GUIDs.
#include <gtest/gtest.h>

#include <cstring>

#include "civil_time.h"
#include "platform/time.h"

namespace {

TEST(PlatformTime, LocalTimeNowHasValidFields) {
  const plat::SystemTime now = plat::LocalTimeNow();
  EXPECT_GE(now.Year, 2024);
  EXPECT_GE(now.Month, 1);
  EXPECT_LE(now.Month, 12);
  EXPECT_GE(now.Day, 1);
  EXPECT_LE(now.Day, 31);
  EXPECT_EQ(now.DayOfWeek,
            (test::DaysFromCivil(now.Year, now.Month, now.Day) + 4) % 7);  // 1970-01-01: Thursday
  EXPECT_LE(now.Hour, 23);
  EXPECT_LE(now.Minute, 59);
  EXPECT_LE(now.Second, 59);
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

}  // namespace
