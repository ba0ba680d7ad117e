// The POSIX answers on this machine's own "/": only that they answer.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix/os_release.h"
#include "platform/posix/posix_message_queries.h"
#include "platform/posix/posix_system_type_queries.h"

namespace kalmor {
namespace {

TEST(RealSystem, AnswersSomething) {
  EXPECT_FALSE(PosixSystemName().empty());
  const auto machine = UnameMachine();
  ASSERT_TRUE(machine.has_value());
  EXPECT_FALSE(machine->empty());
  EXPECT_FALSE(SystemErrorText(ENOENT).value_or("").empty());
}

}  // namespace
}  // namespace kalmor
