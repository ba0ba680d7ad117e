#include "platform/posix/posix_message_queries.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "sysinfo/get_api_error.h"

namespace kalmor {
namespace {

TEST(PosixMessageQueries, StoresTheTextAndANulLikeFormatMessageA) {
  PosixMessageQueries queries;
  std::string buffer(1024, ' ');
  const std::uint32_t count = queries.formatMessage(0x12FF, ENOENT, 0x0400, buffer.data(), 1024);
  ASSERT_GT(count, 0u);
  EXPECT_EQ(buffer[count], '\0');
  EXPECT_EQ(buffer.find('\0'), count);
  EXPECT_EQ(buffer.substr(count + 1), std::string(1024 - count - 1, ' '));
  EXPECT_EQ(GetAPIError(queries, ENOENT), buffer.substr(0, count));
}

TEST(PosixMessageQueries, FailsWhenTextAndNulDoNotFit) {
  PosixMessageQueries queries;
  std::string buffer(1024, ' ');
  const std::uint32_t count = queries.formatMessage(0x12FF, EACCES, 0x0400, buffer.data(), 1024);
  ASSERT_GT(count, 0u);
  std::string small(count, ' ');
  EXPECT_EQ(queries.formatMessage(0x12FF, EACCES, 0x0400, small.data(), count), 0u);
  EXPECT_EQ(small, std::string(count, ' '));
  std::string exact(count + 1, ' ');
  EXPECT_EQ(queries.formatMessage(0x12FF, EACCES, 0x0400, exact.data(), count + 1), count);
}

TEST(PosixMessageQueries, NumbersWithoutTextGetTheFallback) {
  PosixMessageQueries queries;
  EXPECT_EQ(GetAPIError(queries, 123456), "Unbekannter Fehler: &H1E240");
  EXPECT_EQ(GetAPIError(queries, -1), "Unbekannter Fehler: &HFFFFFFFF");
  EXPECT_EQ(SystemErrorText(123456), std::nullopt);
}

}  // namespace
}  // namespace kalmor
