// The Windows platform's answers about the system, against the real calls:
// run in both Wine prefixes (Windows 7 in German, Windows 10 in English).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "i18n/system_locale.h"
#include "platform/create_platform.h"
#include "platform/win32/win32_locale_queries.h"
#include "platform/win32/win32_message_queries.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_system_type_queries.h"
#include "platform/win32/win32_version_queries.h"
#include "sysinfo/get_api_error.h"
#include "sysinfo/is_64bit_system.h"
#include "tests/support/win32/scratch_folder.h"

namespace kalmor {
namespace {

// What the prefix was set up as: cmake/wine-run.sh sets the Windows version
// from KALMOR_WINE_VERSION, Wine takes the locale from LC_ALL, and a 64-bit
// prefix has a SysWOW64 folder.
std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}
bool SixtyFourBitSystem() { return std::filesystem::is_directory("C:/windows/syswow64"); }

// The name comes from the version record, the product type and the product
// info (6.1), or from the registry's product name (6.2, a program without a
// manifest); the width from the process's and the machine's architecture.
TEST(Win32SystemAnswers, NamesTheConfiguredWindowsWithItsWidth) {
  // Wine 8 answers an edition the tables do not know, and Service Pack 1.
  const std::map<std::string, std::pair<std::string, std::string>> names{
      {"win7", {"Windows 7 ", " (Service Pack 1)"}}, {"win10", {"Microsoft Windows 10 ", ""}}};
  const std::string version = Variable("KALMOR_WINE_VERSION");
  if (names.count(version) == 0) GTEST_SKIP() << "KALMOR_WINE_VERSION is neither win7 nor win10";
  const std::string width = SixtyFourBitSystem() ? ", 64-Bit" : ", 32-Bit";
  const auto& [before, after] = names.at(version);
  const Result<std::string> name = Win32Platform().systemName();
  EXPECT_EQ(name ? *name : "error " + std::to_string(name.error()), before + width + after);
  EXPECT_NE(Win32VersionQueries().getProductInfo(6, 0, 0, 0), 0u) << "no edition answered";
}

// The window asks once per start, and must leave the service ready for the next.
TEST(Win32SystemAnswers, TheManagementServiceNamesTheSystemTypeEveryTime) {
  Win32SystemTypeQueries queries;
  ASSERT_TRUE(queries.bindAndQuery());
  ASSERT_EQ(queries.nextObject(), SystemTypeQueries::Next::Object);
  EXPECT_EQ(queries.nextObject(), SystemTypeQueries::Next::End) << "one computer";
  queries.release();
  EXPECT_EQ(Is64BitSystem(queries), SixtyFourBitSystem()) << "asked again";
}

TEST(Win32SystemAnswers, CountryCodeAndErrorTextsFollowTheSystemLocale) {
  Win32LocaleQueries locale;
  const std::string unixLocale = Variable("LC_ALL");
  if (unixLocale.starts_with("de_DE") || unixLocale.starts_with("en_US")) {
    const std::string code = unixLocale.starts_with("de") ? "49" : "1";
    EXPECT_EQ(GetSystemLocaleInfo(locale, kLocaleICountry), code);
  }
  Win32MessageQueries messages;
  const std::string text = GetAPIError(messages, 2);
  EXPECT_FALSE(text.empty() || text.starts_with("Unbekannter Fehler")) << text;
  EXPECT_EQ(text.find_first_of(std::string("\n\0", 2)), std::string::npos) << "no line breaks";
  // Bit 29 marks numbers the system never defines.
  EXPECT_EQ(GetAPIError(messages, 0x20001234), "Unbekannter Fehler: &H20001234");
}

TEST(Win32SystemAnswers, AnsiTextAndTheProgramFolder) {
  Win32Platform platform;
  // Code page 1252, as Wine sets up for English and German; Omega is not in
  // it, and no look-alike "O" may stand in for it.
  EXPECT_EQ(platform.toAnsi("Pr\xC3\xBC" "fung \xE2\x82\xAC \xCE\xA9"), "Pr\xFC" "fung \x80 ?");
  EXPECT_EQ(platform.fromAnsi("Pr\xFC" "fung"), "Pr\xC3\xBC" "fung");
  const Result<std::string> known = CreateSystemPlatform()->programFolder();
  ASSERT_TRUE(known);
  const std::string& folder = *known;
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::equivalent(testing::FromUtf8(folder), KALMOR_TEST_BINARY_DIR)) << folder;
  EXPECT_EQ(*CreateSystemPlatform("C:\\Kalmor")->programFolder(), "C:\\Kalmor");
}

}  // namespace
}  // namespace kalmor
