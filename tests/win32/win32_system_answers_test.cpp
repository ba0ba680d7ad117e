#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "i18n/system_locale.h"
#include "platform/win32/win32_locale_queries.h"
#include "platform/win32/win32_message_queries.h"
#include "platform/win32/win32_system_type_queries.h"
#include "sysinfo/get_api_error.h"
#include "sysinfo/is_64bit_system.h"
#include "tests/win32/wine_environment.h"

namespace kalmor {
namespace {

using Next = SystemTypeQueries::Next;

TEST(Win32SystemTypeQueries, TheManagementServiceNamesTheSystemType) {
  Win32SystemTypeQueries queries;
  // Twice, as the window binds once per start and must leave nothing behind.
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(queries.bindAndQuery());
    ASSERT_EQ(queries.nextObject(), Next::Object);
    const auto type = queries.systemType();
    ASSERT_TRUE(type.has_value());
    EXPECT_EQ(type->find("x64") != std::string::npos, testing::SixtyFourBitSystem()) << *type;
    EXPECT_EQ(queries.systemType(), type) << "the property reads the same twice";
    EXPECT_EQ(queries.nextObject(), Next::End) << "one computer";
    queries.release();
  }
  EXPECT_EQ(queries.nextObject(), Next::Error) << "nothing to walk after release";
  EXPECT_EQ(queries.systemType(), std::nullopt);
  EXPECT_EQ(Is64BitSystem(queries), testing::SixtyFourBitSystem());
}

TEST(Win32LocaleQueries, TheCountryCodeFollowsTheSystemLocale) {
  Win32LocaleQueries queries;
  const std::string code = GetSystemLocaleInfo(queries, kLocaleICountry);
  EXPECT_FALSE(code.empty());
  EXPECT_TRUE(std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
      << code;

  const auto locale = testing::UnixLocale();
  if (!locale || (locale->rfind("de_DE", 0) != 0 && locale->rfind("en_US", 0) != 0)) {
    GTEST_SKIP() << "the Unix locale is neither de_DE nor en_US: no country code to expect";
  }
  EXPECT_EQ(code, locale->rfind("de_DE", 0) == 0 ? "49" : "1");
}

TEST(Win32MessageQueries, TheSystemHasATextForError2AndNoneForAMadeUpNumber) {
  Win32MessageQueries queries;
  const std::string text = GetAPIError(queries, 2);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.rfind("Unbekannter Fehler", 0), std::string::npos) << text;
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos) << "the width mask drops the line breaks";

  // Bit 29 marks numbers the system never defines.
  EXPECT_EQ(GetAPIError(queries, 0x20001234), "Unbekannter Fehler: &H20001234");
}

}  // namespace
}  // namespace kalmor
