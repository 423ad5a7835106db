// One assertion for a failing call: the answer that signals failure and the last-error
// code left with it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/errors.h"

namespace test {

// For EXPECT_TRUE(test::FailedWith(call(), code)): `answer` is false or null and the
// last-error code is `code`, read as soon as the call has answered.
template <typename Answer>
::testing::AssertionResult FailedWith(const Answer& answer, uint32_t code) {
  const uint32_t last = plat::LastError();
  if (answer) return ::testing::AssertionFailure() << "the call did not fail";
  if (last != code) {
    return ::testing::AssertionFailure() << "last error " << last << ", expected " << code;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace test
